#include "VirtualFs.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <system_error>

namespace box::dev {
namespace fs = std::filesystem;
namespace {

const char* const kVirtualDirs[] = {"/", "/mnt", "/mnt/udisk", "/data", "/dev", "/dev/block", "/system", "/system/bin"};
constexpr int kMaxLinkHops = 40;

std::vector<std::string> SplitPath(const std::string& path)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t slash = path.find('/', start);
        if (slash == std::string::npos)
            slash = path.size();
        if (slash > start)
            parts.push_back(path.substr(start, slash - start));
        start = slash + 1;
    }
    return parts;
}

bool StartsWithDir(const std::string& path, const std::string& dir)
{
    if (dir == "/")
        return true;
    return path == dir || (path.size() > dir.size() && path.compare(0, dir.size(), dir) == 0 && path[dir.size()] == '/');
}

bool IsWithin(const fs::path& path, const fs::path& root)
{
    const fs::path rel = path.lexically_normal().lexically_relative(root);
    return !rel.empty() && *rel.begin() != "..";
}

bool SameIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// On vfat a name matches an entry that differs only in case.
fs::path MatchEntry(const fs::path& dir, const std::string& name, bool vfat)
{
    std::error_code ec;
    fs::path exact = dir / name;
    if (!vfat || fs::symlink_status(exact, ec).type() != fs::file_type::not_found)
        return exact;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        if (SameIgnoringCase(it->path().filename().string(), name))
            return it->path();
    return exact;
}

}  // namespace

std::string NormalizeVirtual(const std::string& cwd, const std::string& path)
{
    const std::string joined = (!path.empty() && path[0] == '/') ? path : cwd + "/" + path;
    std::vector<std::string> out;
    for (const auto& part : SplitPath(joined)) {
        if (part == ".")
            continue;
        if (part == "..") {
            if (!out.empty())
                out.pop_back();
            continue;
        }
        out.push_back(part);
    }
    std::string result;
    for (const auto& part : out)
        result += "/" + part;
    return result.empty() ? "/" : result;
}

std::string ParentOf(const std::string& virtualPath)
{
    const size_t slash = virtualPath.rfind('/');
    return (slash == std::string::npos || slash == 0) ? "/" : virtualPath.substr(0, slash);
}

std::string BaseName(const std::string& virtualPath)
{
    const size_t slash = virtualPath.rfind('/');
    return slash == std::string::npos ? virtualPath : virtualPath.substr(slash + 1);
}

VirtualFs::VirtualFs(const fs::path& stateDir)
{
    std::error_code ec;
    stateDir_ = fs::weakly_canonical(fs::absolute(stateDir), ec);
    if (ec)
        stateDir_ = fs::absolute(stateDir).lexically_normal();
    mounts_ = {{"/mnt/sdcard", stateDir_ / "sdcard", true},
               {"/sdcard", stateDir_ / "sdcard", true},
               {"/mnt/udisk", stateDir_ / "udisk", true},
               {"/data/bin", stateDir_ / "data" / "bin", false},
               {"/data/dalvik-cache", stateDir_ / "data" / "dalvik-cache", false}};
}

fs::path VirtualFs::HostFolder(const std::string& mountPoint) const
{
    for (const auto& m : mounts_)
        if (m.point == mountPoint)
            return m.folder;
    return {};
}

const VirtualFs::Mount* VirtualFs::FindMount(const std::string& path, const MediaState& media) const
{
    for (const auto& m : mounts_) {
        if (!StartsWithDir(path, m.point))
            continue;
        if (m.point == "/mnt/udisk" && !(media.udiskInserted && media.udiskMounted))
            return nullptr;
        return &m;
    }
    return nullptr;
}

Node VirtualFs::Resolve(const std::string& virtualPath, const MediaState& media, bool followLast) const
{
    Node node;
    node.path = virtualPath;
    if (const Mount* m = FindMount(virtualPath, media)) {
        node = ResolveInMount(*m, virtualPath, followLast);
        return node;
    }
    if (virtualPath == "/dev/block/sda1" && media.udiskInserted) {
        node.kind = NodeKind::BlockDevice;
        return node;
    }
    for (const char* dir : kVirtualDirs)
        if (virtualPath == dir)
            node.kind = NodeKind::VirtualDir;
    return node;
}

// Replaces the link at `current` by its target: the target's components go
// back onto the work list.  An absolute target counts only when it lies in
// the folder; then it is walked from the folder's top like any other path.
bool VirtualFs::FollowLink(const fs::path& folder, fs::path& current, std::vector<std::string>& pending) const
{
    std::error_code ec;
    fs::path target = fs::read_symlink(current, ec);
    if (ec)
        return false;
    if (target.is_absolute()) {
        if (!IsWithin(target, folder))
            return false;
        target = target.lexically_normal().lexically_relative(folder);
        current = folder;
    } else {
        current = current.parent_path();
    }
    const auto parts = SplitPath(target.generic_string());
    pending.insert(pending.end(), parts.rbegin(), parts.rend());
    return true;
}

// Walks the components one by one so that every link met on the way is seen
// and checked before anything is opened through it.
Node VirtualFs::ResolveInMount(const Mount& m, const std::string& path, bool followLast) const
{
    Node node;
    node.path = path;
    node.root = m.folder;
    node.vfat = m.vfat;
    node.writable = true;
    std::vector<std::string> pending = SplitPath(path.substr(std::min(path.size(), m.point.size())));
    std::reverse(pending.begin(), pending.end());
    fs::path current = m.folder;
    int hops = 0;
    std::error_code ec;
    while (!pending.empty()) {
        const std::string part = pending.back();
        pending.pop_back();
        if (part == "..")
            current = current.parent_path();
        else if (part != ".")
            current = MatchEntry(current, part, m.vfat);
        const bool isLink = fs::symlink_status(current, ec).type() == fs::file_type::symlink;
        const bool follow = isLink && (followLast || !pending.empty());
        const bool escapes = !IsWithin(current, m.folder) ||
                             (follow && (++hops > kMaxLinkHops || !FollowLink(m.folder, current, pending)));
        if (escapes) {
            node.kind = NodeKind::Escapes;
            return node;
        }
    }
    node.host = current;
    const auto type = fs::symlink_status(current, ec).type();
    node.kind = type == fs::file_type::not_found ? NodeKind::Missing : NodeKind::Host;
    return node;
}

std::vector<std::string> VirtualFs::VirtualChildren(const std::string& virtualPath, const MediaState& media) const
{
    std::set<std::string> names;
    const std::string prefix = virtualPath == "/" ? "/" : virtualPath + "/";
    auto consider = [&](const std::string& candidate) {
        if (candidate.size() <= prefix.size() || candidate.compare(0, prefix.size(), prefix) != 0)
            return;
        const std::string rest = candidate.substr(prefix.size());
        names.insert(rest.substr(0, rest.find('/')));
    };
    for (const char* dir : kVirtualDirs)
        consider(dir);
    for (const auto& m : mounts_)
        consider(m.point);
    if (media.udiskInserted)
        consider("/dev/block/sda1");
    return {names.begin(), names.end()};
}

}  // namespace box::dev
