// busybox truncate, as the box's busybox has it: "truncate [-c] -s SIZE
// FILE...".  The host program cuts a boot partition's read-back to the
// length of the image that was written before summing it; the box's shell
// has no pipe for "head -c".

#include "Builtins.h"

#include <cctype>
#include <fstream>

namespace box::dev {
namespace fs = std::filesystem;
namespace {

constexpr const char kUsage[] = "BusyBox truncate: usage: truncate [-c] -s SIZE FILE...";

// Plain decimal bytes, as the host sends them; busybox also takes suffixes,
// which nobody here uses.
bool ParseSize(const std::string& text, uint64_t& size)
{
    if (text.empty() || text.size() > 19)
        return false;
    size = 0;
    for (const char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
        size = size * 10 + static_cast<uint64_t>(c - '0');
    }
    return true;
}

struct TruncateArgs {
    bool noCreate = false;
    std::string size;
    bool hasSize = false;
    Args files;
};

// getopt's way: "-c", "-s N", "-sN", "-cs N", up to "--" or the first name.
bool ParseArgs(ShellContext& ctx, const Args& args, TruncateArgs& parsed)
{
    size_t i = 1;
    for (; i < args.size() && args[i].size() > 1 && args[i][0] == '-'; ++i) {
        if (args[i] == "--") {
            ++i;
            break;
        }
        for (size_t k = 1; k < args[i].size(); ++k) {
            const char letter = args[i][k];
            if (letter == 'c') {
                parsed.noCreate = true;
            } else if (letter == 's') {
                const bool attached = k + 1 < args[i].size();
                if (!attached && i + 1 >= args.size()) {
                    ctx.out.Line("truncate: option requires an argument -- 's'");
                    return false;
                }
                parsed.size = attached ? args[i].substr(k + 1) : args[++i];
                parsed.hasSize = true;
                break;
            } else {
                ctx.out.Line(std::string("truncate: invalid option -- '") + letter + "'");
                return false;
            }
        }
    }
    parsed.files.assign(args.begin() + static_cast<std::ptrdiff_t>(std::min(i, args.size())), args.end());
    return true;
}

// 0 when the file now has `size` bytes (or, with -c, does not exist).
int TruncateOne(ShellContext& ctx, const std::string& name, uint64_t size, bool noCreate)
{
    const Node node = ctx.Resolve(name);
    std::error_code ec;
    const bool creatable =
        node.kind == NodeKind::Missing && node.writable && fs::is_directory(node.host.parent_path(), ec);
    if (node.kind == NodeKind::Missing && noCreate)
        return 0;
    if (node.kind == NodeKind::Host && fs::is_directory(node.host, ec)) {
        ctx.out.Line("truncate: " + name + ": Is a directory");
        return 1;
    }
    if (node.kind != NodeKind::Host && !creatable) {
        ctx.out.Line("truncate: can't open '" + name + "': " + NodeError(node));
        return 1;
    }
    if (creatable)
        std::ofstream(node.host, std::ios::binary | std::ios::app);
    fs::resize_file(node.host, size, ec);
    if (ec) {
        ctx.out.Line("truncate: " + name + ": " + ec.message());
        return 1;
    }
    return 0;
}

}  // namespace

int CmdTruncate(ShellContext& ctx, const Args& args)
{
    TruncateArgs parsed;
    if (!ParseArgs(ctx, args, parsed))
        return 1;
    uint64_t size = 0;
    if (!parsed.hasSize || parsed.files.empty()) {
        ctx.out.Line(kUsage);
        return 1;
    }
    if (!ParseSize(parsed.size, size)) {
        ctx.out.Line("truncate: invalid number '" + parsed.size + "'");
        return 1;
    }
    int status = 0;
    for (const auto& name : parsed.files)
        status |= TruncateOne(ctx, name, size, parsed.noCreate);
    return status;
}

}  // namespace box::dev
