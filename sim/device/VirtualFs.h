#pragma once
// The box's file tree.  A few virtual directories map onto folders of the
// state directory; everything else is either a fixed, empty directory or
// missing.  No path a command names can reach the host outside those
// folders: ".." is taken apart in the virtual tree before any mapping, and
// symbolic links are followed by hand and refused once they leave their
// folder.  The SD card and the stick are vfat, so names there match without
// regard to case.

#include <filesystem>
#include <string>
#include <vector>

namespace box::dev {

// The text a refused path gets after "PATH: ".
inline constexpr const char* kOutsideStorage = "Permission denied (outside the box's storage)";

enum class NodeKind {
    Missing,       // nothing there (yet)
    Escapes,       // a link leads outside the box's storage
    VirtualDir,    // fixed directory such as /, /mnt or an unmounted /mnt/udisk
    Host,          // file or directory inside one of the mapped folders
    BlockDevice,   // /dev/block/sda1 while the stick is in
};

struct Node {
    NodeKind kind = NodeKind::Missing;
    std::string path;             // normalised virtual path
    std::filesystem::path host;   // Host and Missing-inside-a-mount: the host path
    std::filesystem::path root;   // the mapped folder that holds it
    bool vfat = false;            // SD card or stick
    bool writable = false;        // inside a mapped folder
};

// "No such file or directory", or the refusal for a path outside the box.
inline const char* NodeError(const Node& node)
{
    return node.kind == NodeKind::Escapes ? kOutsideStorage : "No such file or directory";
}

struct MediaState {
    bool udiskInserted = false;
    bool udiskMounted = false;
};

// "a/../b" relative to cwd -> "/…/b".  ".." at the top stays at the top.
std::string NormalizeVirtual(const std::string& cwd, const std::string& path);

std::string ParentOf(const std::string& virtualPath);
std::string BaseName(const std::string& virtualPath);

class VirtualFs {
public:
    explicit VirtualFs(const std::filesystem::path& stateDir);

    // followLast = false resolves the last component without following a link
    // there (rm and mv act on the link itself).
    Node Resolve(const std::string& virtualPath, const MediaState& media, bool followLast = true) const;

    // Names inside a VirtualDir node.
    std::vector<std::string> VirtualChildren(const std::string& virtualPath, const MediaState& media) const;

    std::filesystem::path HostFolder(const std::string& mountPoint) const;

private:
    struct Mount {
        std::string point;
        std::filesystem::path folder;
        bool vfat;
    };
    const Mount* FindMount(const std::string& path, const MediaState& media) const;
    Node ResolveInMount(const Mount& m, const std::string& path, bool followLast) const;
    bool FollowLink(const std::filesystem::path& folder, std::filesystem::path& current,
                    std::vector<std::string>& pending) const;

    std::filesystem::path stateDir_;
    std::vector<Mount> mounts_;
};

}  // namespace box::dev
