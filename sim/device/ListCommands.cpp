// ls and cat.

#include "Builtins.h"
#include "ListingFormat.h"

#include <algorithm>
#include <fstream>
#include <sys/stat.h>

namespace box::dev {
namespace fs = std::filesystem;
namespace {

std::time_t MTimeOf(const fs::path& host, bool followLink)
{
    struct stat st {};
    const int rc = followLink ? ::stat(host.c_str(), &st) : ::lstat(host.c_str(), &st);
    return rc == 0 ? st.st_mtime : 0;
}

ListingEntry HostEntry(const fs::path& host, const std::string& name, bool vfat, bool followLink)
{
    ListingEntry e;
    e.name = name;
    e.mtime = MTimeOf(host, followLink);
    std::error_code ec;
    const fs::file_status st = followLink ? fs::status(host, ec) : fs::symlink_status(host, ec);
    const unsigned mode = static_cast<unsigned>(st.permissions()) & 0777;
    if (st.type() == fs::file_type::symlink) {
        e.type = 'l';
        e.permissions = "rwxrwxrwx";
        e.linkTarget = fs::read_symlink(host, ec).string();
    } else if (st.type() == fs::file_type::directory) {
        e.type = 'd';
        e.permissions = vfat ? "rwxrwxr-x" : PermissionText(mode);
    } else {
        e.size = fs::file_size(host, ec);
        e.permissions = vfat ? "rw-rw-r--" : PermissionText(mode);
    }
    return e;
}

ListingEntry VirtualEntry(const ShellContext& ctx, const std::string& path, const std::string& name)
{
    const Node node = ctx.box.Fs().Resolve(path, ctx.box.Media());
    if (node.kind == NodeKind::Host)
        return HostEntry(node.host, name, node.vfat, true);
    ListingEntry e;
    e.name = name;
    e.mtime = MTimeOf(ctx.box.StateDir(), true);
    e.type = node.kind == NodeKind::BlockDevice ? 'b' : 'd';
    e.permissions = node.kind == NodeKind::BlockDevice ? "rw-------" : "rwxr-xr-x";
    return e;
}

void PrintEntry(ShellContext& ctx, const ListingEntry& e, bool longForm)
{
    ctx.out.Line(longForm ? FormatListingLine(e) : e.name);
}

void ListDirectory(ShellContext& ctx, const Node& node, bool longForm, bool all)
{
    std::vector<ListingEntry> entries;
    if (node.kind == NodeKind::VirtualDir) {
        const std::string prefix = node.path == "/" ? "/" : node.path + "/";
        for (const auto& name : ctx.box.Fs().VirtualChildren(node.path, ctx.box.Media()))
            entries.push_back(VirtualEntry(ctx, prefix + name, name));
    } else {
        std::error_code ec;
        for (fs::directory_iterator it(node.host, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string name = it->path().filename().string();
            if (all || name[0] != '.')
                entries.push_back(HostEntry(it->path(), name, node.vfat, false));
        }
    }
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    for (const auto& e : entries)
        if (ctx.out.Alive())
            PrintEntry(ctx, e, longForm);
}

bool IsStorage(const Node& node)
{
    return node.kind == NodeKind::Host && node.vfat;
}

int ListOne(ShellContext& ctx, const std::string& arg, bool longForm, bool all, bool header)
{
    const Node node = ctx.Resolve(arg);
    std::error_code ec;
    if (node.kind == NodeKind::Missing || node.kind == NodeKind::Escapes) {
        ctx.out.Line(arg + ": " + NodeError(node));
        return 1;
    }
    if (IsStorage(node) && ctx.box.Fails("ls")) {
        ctx.out.Line(arg + ": Input/output error");
        return 1;
    }
    const bool dir = node.kind == NodeKind::VirtualDir || (node.kind == NodeKind::Host && fs::is_directory(node.host, ec));
    if (!dir) {
        PrintEntry(ctx, VirtualEntry(ctx, node.path, arg), longForm);
        return 0;
    }
    if (header)
        ctx.out.Line(arg + ":");
    ListDirectory(ctx, node, longForm, all);
    return 0;
}

}  // namespace

int CmdLs(ShellContext& ctx, const Args& args)
{
    size_t first = 0;
    const std::string flags = TakeFlags(args, first);
    const bool longForm = flags.find('l') != std::string::npos;
    const bool all = flags.find('a') != std::string::npos;
    Args paths(args.begin() + static_cast<long>(first), args.end());
    if (paths.empty())
        paths.push_back(".");
    int status = 0;
    for (const auto& p : paths)
        status |= ListOne(ctx, p, longForm, all, paths.size() > 1);
    return status;
}

int CmdCat(ShellContext& ctx, const Args& args)
{
    int status = 0;
    for (size_t i = 1; i < args.size() && ctx.out.Alive(); ++i) {
        const Node node = ctx.Resolve(args[i]);
        std::error_code ec;
        if (node.kind != NodeKind::Host || !fs::is_regular_file(node.host, ec)) {
            ctx.out.Line(args[i] + ": " + (node.kind == NodeKind::Host ? "Is a directory" : NodeError(node)));
            status = 1;
            continue;
        }
        std::ifstream in(node.host, std::ios::binary);
        std::string buf(64 << 10, '\0');
        while (in.read(buf.data(), static_cast<std::streamsize>(buf.size())) || in.gcount() > 0)
            if (!ctx.out.Print(std::string_view(buf.data(), static_cast<size_t>(in.gcount()))))
                break;
    }
    return status;
}

}  // namespace box::dev
