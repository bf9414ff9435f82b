// md5sum, as the box's busybox has it: one "<sum>  <name>" line per file,
// read in pieces so that a file of many GiB never sits in memory.
#include "Builtins.h"
#include "Md5.h"

#include <fstream>

namespace box::dev {

namespace fs = std::filesystem;

namespace {

// The sum of a host file, or nothing when it cannot be read to its end.
bool SumFile(const fs::path& file, std::string& hex)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return false;
    Md5 md5;
    std::string buf(1 << 20, '\0');
    while (in.read(buf.data(), static_cast<std::streamsize>(buf.size())) || in.gcount() > 0)
        md5.Update(std::string_view(buf.data(), static_cast<size_t>(in.gcount())));
    if (in.bad())
        return false;
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
