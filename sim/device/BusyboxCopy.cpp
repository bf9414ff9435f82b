// busybox on the SD card, of which the box's program uses "cp": the copy
// runs at the box's speed and grows the target as it goes, so that a
// polling "ls -l" sees the progress.

#include "Builtins.h"
#include "StorageSpace.h"
#include "Transfer.h"
#include "UniqueFd.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace box::dev {
namespace fs = std::filesystem;
namespace {

// Where the copy goes: inside dst when it names a directory.
Node CopyTarget(const ShellContext& ctx, const Node& src, const std::string& dst)
{
    Node target = ctx.Resolve(dst);
    std::error_code ec;
    if (target.kind == NodeKind::Host && fs::is_directory(target.host, ec))
        target = ctx.box.Fs().Resolve(target.path + "/" + BaseName(src.path), ctx.box.Media());
    return target;
}

// How many bytes the target's storage takes before it is full.
uint64_t RoomFor(const ShellContext& ctx, const Node& target)
{
    const auto space = SpaceOf(ctx.box, target);
    if (!space)
        return UINT64_MAX;
    std::error_code ec;
    const uint64_t existing = target.kind == NodeKind::Host ? fs::file_size(target.host, ec) : 0;
    return space->Available() + (ec ? 0 : BlocksFor(existing) * kBlockSize);
}

int Copy(ShellContext& ctx, const std::string& srcArg, const std::string& dstArg)
{
    const Node src = ctx.Resolve(srcArg);
    std::error_code ec;
    if (src.kind != NodeKind::Host) {
        ctx.out.Line("cp: can't stat '" + srcArg + "': " + NodeError(src));
        return 1;
    }
    if (fs::is_directory(src.host, ec)) {
        ctx.out.Line("cp: omitting directory '" + srcArg + "'");
        return 1;
    }
    const Node dst = CopyTarget(ctx, src, dstArg);
    if (dst.kind == NodeKind::Escapes || dst.host.empty() || !fs::is_directory(dst.host.parent_path(), ec)) {
        ctx.out.Line("cp: can't create '" + dstArg + "': " + NodeError(dst));
        return 1;
    }
    if (dst.kind == NodeKind::Host && fs::equivalent(src.host, dst.host, ec)) {
        ctx.out.Line("cp: '" + srcArg + "' and '" + dstArg + "' are the same file");
        return 1;
    }
    UniqueFd in(::open(src.host.c_str(), O_RDONLY | O_CLOEXEC));
    UniqueFd out(::open(dst.host.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0664));
    if (in.get() < 0 || out.get() < 0) {
        ctx.out.Line("cp: can't create '" + dstArg + "': " + std::strerror(errno));
        return 1;
    }
    const uint64_t size = fs::file_size(src.host, ec);
    const uint64_t room = RoomFor(ctx, dst);
    const bool failing = ctx.box.Fails("cp");
    CopyRequest req{in.get(), 0, out.get(), 0, size, true, ChunkForSpeed(ctx.box.Speed()), UINT64_MAX};
    if (failing)
        req.failAfter = size / 2;
    else if (size > room)
        req.failAfter = room;
    Pacer pacer(ctx.box.Speed());
    const std::string error = CopyRange(req, pacer, nullptr);
    if (error.empty() && size > 0 && ctx.box.Corrupts("cp"))
        FlipByteAt(dst.host, size / 2);
    if (error.empty())
        return 0;
    const bool full = !failing && size > room;
    ctx.out.Line(std::string("cp: write error: ") + (full ? "No space left on device" : error.c_str()));
    return 1;
}

bool HasApplet(const ShellContext& ctx, const std::string& name)
{
    return IsKnownApplet(name) && ctx.box.Config().missingApplets.count(name) == 0;
}

// As busybox prints itself without an applet: its list of functions last.
int PrintUsage(ShellContext& ctx)
{
    std::string functions;
    for (const char* name : {"cp", "md5sum", "truncate"}) {
        if (HasApplet(ctx, name))
            functions += (functions.empty() ? "\t" : ", ") + std::string(name);
    }
    ctx.out.Line("BusyBox v1.19.4 (2012-03-01 10:00:00 CST) multi-call binary.");
    ctx.out.Line("Usage: busybox [function] [arguments]...\n   or: function [arguments]...\n");
    ctx.out.Line("Currently defined functions:");
    ctx.out.Line(functions);
    return 1;
}

}  // namespace

int RunBusybox(ShellContext& ctx, const Args& args)
{
    if (args.size() < 2)
        return PrintUsage(ctx);
    if (!HasApplet(ctx, args[1])) {
        ctx.out.Line(args[1] + ": applet not found");
        return 127;
    }
    if (args[1] == "md5sum")
        return CmdMd5sum(ctx, Args(args.begin() + 1, args.end()));
    if (args[1] == "truncate")
        return CmdTruncate(ctx, Args(args.begin() + 1, args.end()));
    if (args[1] != "cp") {
        ctx.out.Line(args[1] + ": applet not found");
        return 127;
    }
    Args rest(args.begin() + 1, args.end());
    size_t first = 0;
    const std::string flags = TakeFlags(rest, first);
    // busybox's option letters for cp; any other is refused, copying nothing.
    const size_t bad = flags.find_first_not_of("adfHilLpPrRsTv");
    if (bad != std::string::npos)
        ctx.out.Line(std::string("cp: invalid option -- '") + flags[bad] + "'");
    if (bad != std::string::npos || rest.size() - first != 2) {
        ctx.out.Line("BusyBox cp: usage: cp SOURCE DEST");
        return 1;
    }
    return Copy(ctx, rest[first], rest[first + 1]);
}

}  // namespace box::dev
