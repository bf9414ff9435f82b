// /READ_USER and /MTK: the two ways the box builds its master, from the chip
// in the socket or from an MTX file on the stick.  Both write the new master
// beside the old one and replace it only when complete.

#include "ChipTool.h"
#include "MtxFile.h"
#include "UniqueFd.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace box::dev {
namespace fs = std::filesystem;
namespace {

constexpr const char* kNoMtx = "can't open /mnt/udisk/ MTX file";

// Two master runs at once each write their own file; the last to finish wins.
fs::path NewMasterTemp(const ShellContext& ctx)
{
    static std::atomic<unsigned> counter{0};
    return ctx.box.MasterImage().string() + ".part" + std::to_string(++counter);
}

std::string Mb(uint64_t bytes)
{
    return std::to_string(bytes >> 20) + " MB";
}

bool EndsWithMtx(const std::string& name)
{
    if (name.size() < 4)
        return false;
    std::string tail = name.substr(name.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return std::tolower(c); });
    return tail == ".mtx";
}

// The first MTX file in the stick's top folder, by name.
std::optional<fs::path> FindMtx(const ShellContext& ctx)
{
    const Node root = ctx.box.Fs().Resolve("/mnt/udisk", ctx.box.Media());
    if (root.kind != NodeKind::Host)
        return std::nullopt;
    std::vector<fs::path> found;
    std::error_code ec;
    for (fs::directory_iterator it(root.host, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file() && EndsWithMtx(it->path().filename().string()))
            found.push_back(it->path());
    if (found.empty())
        return std::nullopt;
    return *std::min_element(found.begin(), found.end());
}

std::string Decompress(ShellContext& ctx, MtxReader& mtx, int out, const std::string& name)
{
    if (::ftruncate(out, static_cast<off_t>(mtx.ImageBytes())) != 0)
        return std::strerror(errno);
    Pacer pacer = PacerForDuration(mtx.FileBytes(), ctx.box.Config().mtkMs);
    PercentLines progress(ctx, "decompressing " + name, mtx.FileBytes(), 10);
    const uint64_t step = std::max<uint64_t>(1, std::min<uint64_t>(64 << 10, mtx.FileBytes() / 20));
    const uint64_t failAt = ctx.box.Fails("mtk") ? mtx.FileBytes() / 2 : UINT64_MAX;
    std::string buf;
    uint64_t consumed = 0, offset = 0, length = 0;
    while (mtx.NextPiece(offset, length)) {
        for (uint64_t done = 0; done < length;) {
            const size_t n = static_cast<size_t>(std::min(step, length - done));
            buf.resize(n);
            if (!mtx.ReadPieceBytes(buf.data(), n))
                return mtx.Error();
            if (consumed + n > failAt)
                return "Input/output error";
            if (::pwrite(out, buf.data(), n, static_cast<off_t>(offset + done)) != static_cast<ssize_t>(n))
                return std::strerror(errno);
            done += n;
            consumed += n;
            pacer.Advance(n);
            if (!progress(consumed))
                return "stopped";
        }
    }
    return mtx.Ok() ? std::string() : mtx.Error();
}

}  // namespace

int ReadUserToMaster(ShellContext& ctx)
{
    const uint64_t size = ctx.box.Chip().PartitionBytes("USER");
    ctx.out.Line("READ_USER: reading the user area (" + Mb(size) + ") into the master");
    const fs::path temp = NewMasterTemp(ctx);
    std::string error;
    {
        const UniqueFd in(::open(ctx.box.ChipImage("USER").c_str(), O_RDONLY | O_CLOEXEC));
        const UniqueFd out(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
        if (!in.ok() || !out.ok()) {
            error = std::strerror(errno);
        } else {
            CopyRequest req{in.get(), 0, out.get(), 0, size, true, 4 << 20, UINT64_MAX};
            if (ctx.box.Fails("read_user"))
                req.failAfter = size / 3;
            Pacer pacer = PacerForDuration(size, ctx.box.Config().readUserMs);
            PercentLines progress(ctx, "READ_USER", size, 5);
            error = CopyRange(req, pacer, std::ref(progress));
        }
    }
    if (error.empty() && !CommitMaster(ctx, temp, "chip " + ctx.box.Chip().identity.productName))
        error = "cannot store the master";
    if (!error.empty()) {
        std::error_code ec;
        fs::remove(temp, ec);
        ctx.out.Line("READ_USER error: " + error);
        return 1;
    }
    ctx.out.Line("READ_USER: 100%");
    ctx.out.Line("READ_USER done: " + Mb(size) + " read, master saved");
    return 0;
}

int MtxToMaster(ShellContext& ctx)
{
    const auto file = FindMtx(ctx);
    if (!file) {
        ctx.out.Line(kNoMtx);
        return 1;
    }
    const std::string name = file->filename().string();
    MtxReader mtx(*file);
    if (!mtx.Ok()) {
        ctx.out.Line("error: " + name + ": " + mtx.Error());
        return 1;
    }
    ctx.out.Line("MTX file /mnt/udisk/" + name + ": master of " + Mb(mtx.ImageBytes()));
    const fs::path temp = NewMasterTemp(ctx);
    std::string error;
    {
        const UniqueFd out(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
        error = out.ok() ? Decompress(ctx, mtx, out.get(), name) : std::strerror(errno);
    }
    if (error.empty() && !CommitMaster(ctx, temp, "mtx " + name))
        error = "cannot store the master";
    if (!error.empty()) {
        std::error_code ec;
        fs::remove(temp, ec);
        ctx.out.Line("error: decompressing " + name + ": " + error);
        return 1;
    }
    ctx.out.Line("decompressing " + name + ": 100%");
    ctx.out.Line("Master OK");
    return 0;
}

}  // namespace box::dev
