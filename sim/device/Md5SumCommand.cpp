// md5sum, as the box's busybox has it: one "<sum>  <name>" line per file,
// read in pieces so that a file of many GiB never sits in memory.
#include "Builtins.h"
#include "Md5.h"

#include "UniqueFd.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace box::dev {

namespace fs = std::filesystem;

namespace {

// Where the data at or after `offset` begins; `size` when only a hole is
// left, `offset` itself when the file system cannot tell.
uint64_t DataFrom(int fd, uint64_t offset, uint64_t size)
{
    const off_t data = ::lseek(fd, static_cast<off_t>(offset), SEEK_DATA);
    if (data < 0)
        return errno == ENXIO ? size : offset;
    return std::min<uint64_t>(static_cast<uint64_t>(data), size);
}

// Where the data run at `offset` ends; `size` when the file system cannot
// tell (never `offset` itself, so that reading goes on).
uint64_t HoleFrom(int fd, uint64_t offset, uint64_t size)
{
    const off_t hole = ::lseek(fd, static_cast<off_t>(offset), SEEK_HOLE);
    if (hole < 0 || static_cast<uint64_t>(hole) <= offset)
        return size;
    return std::min<uint64_t>(static_cast<uint64_t>(hole), size);
}

// The sum of a host file, or nothing when it cannot be read.  Every byte is
// summed; the zeros of a hole are taken from memory instead of being read
// through the kernel, which is most of the time a sparse image of many GiB
// would otherwise spend.
bool SumFile(const fs::path& file, std::string& hex)
{
    const UniqueFd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (!fd.ok() || ::fstat(fd.get(), &info) != 0)
        return false;
    uint64_t size = static_cast<uint64_t>(info.st_size);
    static const std::string zeros(1 << 20, '\0');
    std::string buf(1 << 20, '\0');
    Md5 md5;
    uint64_t offset = 0;
    while (offset < size) {
        for (const uint64_t data = DataFrom(fd.get(), offset, size); offset < data;) {
            const size_t n = static_cast<size_t>(std::min<uint64_t>(zeros.size(), data - offset));
            md5.Update(std::string_view(zeros.data(), n));
            offset += n;
        }
        for (const uint64_t end = HoleFrom(fd.get(), offset, size); offset < end;) {
            const size_t want = static_cast<size_t>(std::min<uint64_t>(buf.size(), end - offset));
            const ssize_t got = ::pread(fd.get(), buf.data(), want, static_cast<off_t>(offset));
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                return false;
            if (got == 0) {  // the file became shorter meanwhile
                size = offset;
                break;
            }
            md5.Update(std::string_view(buf.data(), static_cast<size_t>(got)));
            offset += static_cast<uint64_t>(got);
        }
    }
    hex = md5.HexDigest();
    return true;
}

}  // namespace

int CmdMd5sum(ShellContext& ctx, const Args& args)
{
    size_t first = 0;
    const std::string flags = TakeFlags(args, first);
    if (!flags.empty() || first >= args.size()) {
        if (!flags.empty())
            ctx.out.Line(std::string("md5sum: invalid option -- '") + flags[0] + "'");
        ctx.out.Line("BusyBox md5sum: usage: md5sum FILE...");
        return 1;
    }
    int status = 0;
    for (size_t i = first; i < args.size() && ctx.out.Alive(); ++i) {
        const Node node = ctx.Resolve(args[i]);
        std::error_code ec;
        std::string hex;
        if (node.kind == NodeKind::Host && fs::is_directory(node.host, ec)) {
            ctx.out.Line("md5sum: " + args[i] + ": Is a directory");
            status = 1;
        } else if (node.kind != NodeKind::Host || !SumFile(node.host, hex)) {
            ctx.out.Line("md5sum: can't open '" + args[i] + "': " + NodeError(node));
            status = 1;
        } else {
            ctx.out.Line(hex + "  " + args[i]);
        }
    }
    return status;
}

}  // namespace box::dev
