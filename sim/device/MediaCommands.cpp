// mount, umount and df: the stick and the storages' space.

#include "Builtins.h"
#include "StorageSpace.h"

#include <cstdio>

namespace box::dev {
namespace {

struct MountArgs {
    std::string type, device, dir;
};

bool ParseMountArgs(const Args& args, MountArgs& m)
{
    Args plain;
    for (size_t i = 1; i < args.size(); ++i) {
        if ((args[i] == "-t" || args[i] == "-o") && i + 1 < args.size()) {
            if (args[i] == "-t")
                m.type = args[i + 1];
            ++i;
        } else if (args[i] == "-r" || args[i] == "-w") {
            continue;
        } else {
            plain.push_back(args[i]);
        }
    }
    if (plain.size() != 2)
        return false;
    m.device = plain[0];
    m.dir = plain[1];
    return true;
}

void ListMounts(ShellContext& ctx)
{
    ctx.out.Line("rootfs / rootfs ro 0 0");
    ctx.out.Line("/dev/block/mmcblk0p1 /mnt/sdcard vfat rw 0 0");
    ctx.out.Line("/dev/block/mmcblk0p2 /data ext3 rw 0 0");
    if (ctx.box.Media().udiskMounted)
        ctx.out.Line("/dev/block/sda1 /mnt/udisk vfat rw 0 0");
}

std::string K(uint64_t bytes)
{
    return std::to_string(bytes / 1024) + "K";
}

// The largest unit that keeps the number above 1, one decimal: "1.9G".
std::string Human(uint64_t bytes)
{
    static const char units[] = "KMGT";
    double value = static_cast<double>(bytes) / 1024;
    size_t unit = 0;
    while (value >= 1024 && unit + 1 < sizeof units - 1) {
        value /= 1024;
        ++unit;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.1f%c", value, units[unit]);
    return text;
}

int DfOne(ShellContext& ctx, const std::string& arg)
{
    const Node node = ctx.Resolve(arg);
    const std::string path = node.path;
    const bool udisk = path == "/mnt/udisk" || path.rfind("/mnt/udisk/", 0) == 0;
    if (udisk && !ctx.box.Media().udiskMounted) {
        ctx.out.Line("/mnt/udisk: No such file or directory");
        return 1;
    }
    if (node.kind == NodeKind::Missing || node.kind == NodeKind::Escapes) {
        ctx.out.Line(arg + ": " + NodeError(node));
        return 1;
    }
    auto space = SpaceOf(ctx.box, node);
    if (space && ctx.box.Fails("df")) {
        ctx.out.Line(space->mountPoint + ": I/O error");
        return 1;
    }
    if (!space)
        space = Space{"/", 0, 0};
    const auto size = ctx.box.Config().dfHumanUnits ? Human : K;
    ctx.out.Line(arg + ": " + size(space->total) + " total, " + size(space->used) + " used, " +
                 size(space->Available()) + " available (block size 4096)");
    return 0;
}

}  // namespace

int CmdMount(ShellContext& ctx, const Args& args)
{
    if (args.size() == 1) {
        ListMounts(ctx);
        return 0;
    }
    MountArgs m;
    if (!ParseMountArgs(args, m) || m.dir != "/mnt/udisk" || (!m.type.empty() && m.type != "vfat")) {
        ctx.out.Line("mount: Invalid argument");
        return 1;
    }
    if (m.device != "/dev/block/sda1" || !ctx.box.Media().udiskInserted) {
        ctx.out.Line("mount: No such file or directory");
        return 1;
    }
    if (ctx.box.Fails("mount")) {
        ctx.out.Line("mount: Input/output error");
        return 1;
    }
    if (ctx.box.MountUdisk() == MountOutcome::Busy) {
        ctx.out.Line("mount: Device or resource busy");
        return 1;
    }
    return 0;
}

int CmdUmount(ShellContext& ctx, const Args& args)
{
    if (args.size() != 2 || NormalizeVirtual(ctx.cwd, args[1]) != "/mnt/udisk") {
        ctx.out.Line("umount: Invalid argument");
        return 1;
    }
    if (!ctx.box.UnmountUdisk()) {
        ctx.out.Line("failed.");
        return 1;
    }
    return 0;
}

int CmdDf(ShellContext& ctx, const Args& args)
{
    Args paths(args.begin() + 1, args.end());
    if (paths.empty()) {
        paths = {"/mnt/sdcard", "/data"};
        if (ctx.box.Media().udiskMounted)
            paths.push_back("/mnt/udisk");
    }
    int status = 0;
    for (const auto& p : paths)
        status |= DfOne(ctx, p);
    return status;
}

}  // namespace box::dev
