#include "StorageSpace.h"

namespace box::dev {
namespace fs = std::filesystem;
namespace {

constexpr uint64_t kDataCapacity = 512ull << 20;

uint64_t UsedBytes(const fs::path& folder)
{
    uint64_t used = 0;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code sec;
        if (it->is_regular_file(sec))
            used += BlocksFor(it->file_size(sec)) * kBlockSize;
        else
            used += kBlockSize;
    }
    return used;
}

std::string MountPointOf(const std::string& path)
{
    for (const char* point : {"/mnt/sdcard", "/sdcard", "/mnt/udisk", "/data/bin", "/data/dalvik-cache"}) {
        const std::string p = point;
        if (path == p || path.rfind(p + "/", 0) == 0)
            return p.rfind("/data", 0) == 0 ? "/data" : p;
    }
    return "/";
}

}  // namespace

uint64_t BlocksFor(uint64_t bytes)
{
    return (bytes + kBlockSize - 1) / kBlockSize;
}

std::optional<Space> SpaceOf(const BoxState& box, const Node& node)
{
    if (node.root.empty())
        return std::nullopt;
    Space s;
    s.mountPoint = MountPointOf(node.path);
    if (s.mountPoint == "/data") {
        s.total = kDataCapacity;
        s.used = UsedBytes(box.StateDir() / "data");
    } else {
        s.total = s.mountPoint == "/mnt/udisk" ? box.Config().udiskCapacity : box.Config().sdcardCapacity;
        s.used = UsedBytes(node.root);
    }
    return s;
}

}  // namespace box::dev
