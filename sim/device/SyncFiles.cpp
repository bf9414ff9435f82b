#include "SyncFiles.h"

#include "StorageSpace.h"
#include "Transfer.h"
#include "UniqueFd.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace box::dev {
namespace fs = std::filesystem;
namespace {

constexpr uint32_t kDirMode = S_IFDIR | 0775;

// Writes into a hidden file beside the target and renames it into place on
// Finish, so that an interrupted push leaves the old file untouched.
class FilePush : public PushTarget {
public:
    FilePush(fs::path target, fs::path temp, int fd, uint64_t room, uint32_t mode, bool vfat, const BoxState& box)
        : target_(std::move(target)), temp_(std::move(temp)), fd_(fd), room_(room), mode_(mode), vfat_(vfat),
          failing_(box.Fails("push")), corrupting_(box.Corrupts("push")), pacer_(box.Speed())
    {
    }

    ~FilePush() override
    {
        if (fd_ >= 0)
            ::close(fd_);
        if (!finished_)
            ::unlink(temp_.c_str());
    }

    bool Write(std::string_view bytes, std::string& error) override
    {
        if (failing_ && written_ + bytes.size() > 4096)
            return Fail("Input/output error", error);
        if (written_ + bytes.size() > room_)
            return Fail("No space left on device", error);
        for (size_t done = 0; done < bytes.size();) {
            const ssize_t w = ::write(fd_, bytes.data() + done, bytes.size() - done);
            if (w < 0 && errno == EINTR)
                continue;
            if (w <= 0)
                return Fail(std::strerror(errno), error);
            done += static_cast<size_t>(w);
        }
        written_ += bytes.size();
        pacer_.Advance(bytes.size());
        return true;
    }

    bool Finish(uint32_t mtime, std::string& error) override
    {
        if (!vfat_)
            ::fchmod(fd_, (mode_ & 0777) | 0600);
        const struct timespec times[2] = {{static_cast<time_t>(mtime), 0}, {static_cast<time_t>(mtime), 0}};
        ::futimens(fd_, times);
        if (corrupting_ && written_ > 0)
            FlipByteAt(temp_, written_ / 2);
        const bool closed = ::close(fd_) == 0;
        fd_ = -1;
        if (!closed || ::rename(temp_.c_str(), target_.c_str()) != 0)
            return Fail(std::strerror(errno), error);
        finished_ = true;
        return true;
    }

private:
    static bool Fail(const std::string& why, std::string& error)
    {
        error = why;
        return false;
    }

    fs::path target_, temp_;
    int fd_;
    uint64_t room_;
    uint32_t mode_;
    bool vfat_, failing_, corrupting_;
    Pacer pacer_;
    bool finished_ = false;
    uint64_t written_ = 0;
};

// Reads the file at the box's pace.  A failing pull stops with an I/O error
// halfway; a corrupting one flips the byte in the middle of what it sends.
class FilePull : public PullSource {
public:
    FilePull(int fd, uint64_t size, const BoxState& box)
        : fd_(fd), size_(size), failAt_(box.Fails("pull") ? size / 2 : UINT64_MAX),
          flipAt_(box.Corrupts("pull") && size > 0 ? size / 2 : UINT64_MAX), pacer_(box.Speed())
    {
    }

    std::string Read(size_t max, std::string& error) override
    {
        uint64_t n = std::min<uint64_t>(max, size_ - std::min(done_, size_));
        if (done_ + n > failAt_ && failAt_ < size_)
            n = failAt_ - done_;
        if (n == 0 && done_ >= failAt_ && done_ < size_) {
            error = "Input/output error";
            return {};
        }
        std::string piece(static_cast<size_t>(n), '\0');
        const ssize_t r = n ? ::pread(fd_.get(), piece.data(), piece.size(), static_cast<off_t>(done_)) : 0;
        if (r < 0) {
            error = std::strerror(errno);
            return {};
        }
        piece.resize(static_cast<size_t>(r));
        if (flipAt_ >= done_ && flipAt_ < done_ + piece.size())
            piece[flipAt_ - done_] = static_cast<char>(~piece[flipAt_ - done_]);
        done_ += piece.size();
        pacer_.Advance(piece.size());
        return piece;
    }

private:
    UniqueFd fd_;
    uint64_t size_;
    uint64_t failAt_, flipAt_;
    Pacer pacer_;
    uint64_t done_ = 0;
};

fs::path TempBeside(const fs::path& target)
{
    static std::atomic<unsigned> counter{0};
    // Built by appends: GCC 12 warns (falsely) about operator+ on a temporary here.
    std::string name = ".";
    name += target.filename().string();
    name += ".push";
    name += std::to_string(++counter);
    return target.parent_path() / name;
}

}  // namespace

FileStat StatPath(const BoxState& box, const std::string& devicePath)
{
    const Node node = box.Fs().Resolve(NormalizeVirtual("/", devicePath), box.Media());
    struct stat st {};
    if (node.kind == NodeKind::VirtualDir) {
        ::stat(box.StateDir().c_str(), &st);
        return {kDirMode, 0, static_cast<uint32_t>(st.st_mtime)};
    }
    if (node.kind == NodeKind::BlockDevice)
        return {S_IFBLK | 0600, 0, 0};
    if (node.kind != NodeKind::Host || ::stat(node.host.c_str(), &st) != 0)
        return {};
    const bool dir = S_ISDIR(st.st_mode);
    const uint32_t perms = node.vfat ? (dir ? 0775 : 0664) : (st.st_mode & 0777);
    return {static_cast<uint32_t>((dir ? S_IFDIR : S_IFREG) | perms), static_cast<uint32_t>(st.st_size),
            static_cast<uint32_t>(st.st_mtime)};
}

std::unique_ptr<PushTarget> OpenPush(BoxState& box, const std::string& devicePath, uint32_t mode, std::string& error)
{
    const Node node = box.Fs().Resolve(NormalizeVirtual("/", devicePath), box.Media());
    std::error_code ec;
    error.clear();
    if (node.kind == NodeKind::Escapes)
        error = kOutsideStorage;
    else if (node.kind == NodeKind::VirtualDir || (node.kind == NodeKind::Host && fs::is_directory(node.host, ec)))
        error = "Is a directory";
    else if (node.host.empty())
        error = node.path.rfind("/mnt/udisk/", 0) == 0 ? "No such file or directory" : "Read-only file system";
    else if (!fs::is_directory(node.host.parent_path(), ec))
        error = "No such file or directory";
    if (!error.empty())
        return nullptr;
    const auto space = SpaceOf(box, node);
    uint64_t room = UINT64_MAX;
    if (space)
        room = space->Available() + (node.kind == NodeKind::Host ? BlocksFor(fs::file_size(node.host, ec)) * kBlockSize : 0);
    const fs::path temp = TempBeside(node.host);
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = std::strerror(errno);
        return nullptr;
    }
    return std::make_unique<FilePush>(node.host, temp, fd, room, mode, node.vfat, box);
}

std::unique_ptr<PullSource> OpenPull(BoxState& box, const std::string& devicePath, std::string& error)
{
    const Node node = box.Fs().Resolve(NormalizeVirtual("/", devicePath), box.Media());
    std::error_code ec;
    error.clear();
    if (node.kind == NodeKind::Escapes)
        error = kOutsideStorage;
    else if (node.kind != NodeKind::Host || !fs::exists(node.host, ec))
        error = "No such file or directory";
    else if (fs::is_directory(node.host, ec))
        error = "Is a directory";
    if (!error.empty())
        return nullptr;
    const int fd = ::open(node.host.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = std::strerror(errno);
        return nullptr;
    }
    return std::make_unique<FilePull>(fd, fs::file_size(node.host, ec), box);
}

}  // namespace box::dev
