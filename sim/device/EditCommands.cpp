// rm, mv, chmod and touch: the commands that change the box's files.

#include "Builtins.h"

#include <fstream>
#include <system_error>

namespace box::dev {
namespace fs = std::filesystem;
namespace {

bool IsDir(const fs::path& p)
{
    std::error_code ec;
    return fs::is_directory(fs::symlink_status(p, ec));
}

// A mount point or fixed directory can never be removed or moved.
bool IsFixed(const Node& node)
{
    return node.kind == NodeKind::VirtualDir || node.kind == NodeKind::BlockDevice ||
           (node.kind == NodeKind::Host && node.host == node.root);
}

std::string RemoveError(const Node& node, bool recursive)
{
    if (node.kind == NodeKind::Missing || node.kind == NodeKind::Escapes)
        return NodeError(node);
    if (IsFixed(node))
        return "Device or resource busy";
    if (IsDir(node.host) && !recursive)
        return "Is a directory";
    std::error_code ec;
    fs::remove_all(node.host, ec);
    return ec ? ec.message() : std::string();
}

// Where a move of `src` to `dst` lands: inside dst when it is a directory.
Node MoveTarget(const ShellContext& ctx, const Node& src, const std::string& dst)
{
    Node target = ctx.Resolve(dst);
    std::error_code ec;
    if (target.kind == NodeKind::Host && fs::is_directory(target.host, ec))
        target = ctx.box.Fs().Resolve(target.path + "/" + BaseName(src.path), ctx.box.Media(), false);
    return target;
}

std::string MoveError(const ShellContext& ctx, const Node& src, const std::string& dst)
{
    if (src.kind == NodeKind::Missing || src.kind == NodeKind::Escapes)
        return NodeError(src);
    if (IsFixed(src))
        return "Device or resource busy";
    const Node target = MoveTarget(ctx, src, dst);
    if (target.kind == NodeKind::Escapes)
        return kOutsideStorage;
    if (!target.writable || target.host.empty())
        return target.kind == NodeKind::VirtualDir ? "Read-only file system" : "No such file or directory";
    const fs::path rel = target.host.lexically_relative(src.host);
    if (IsDir(src.host) && !rel.empty() && *rel.begin() != ".." && rel != ".")
        return "Invalid argument";
    std::error_code ec;
    if (!fs::exists(target.host.parent_path(), ec))
        return "No such file or directory";
    // On vfat a name differing only in case is the same file: rename it.
    const fs::path dest = target.host == src.host ? src.host.parent_path() / BaseName(target.path) : target.host;
    fs::rename(src.host, dest, ec);
    if (ec == std::errc::cross_device_link) {
        fs::copy(src.host, dest, fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
        if (!ec)
            fs::remove_all(src.host, ec);
    }
    return ec ? ec.message() : std::string();
}

bool ParseOctalMode(const std::string& text, unsigned& mode)
{
    if (text.empty() || text.size() > 4)
        return false;
    mode = 0;
    for (char c : text) {
        if (c < '0' || c > '7')
            return false;
        mode = mode * 8 + static_cast<unsigned>(c - '0');
    }
    return true;
}

}  // namespace

int CmdRm(ShellContext& ctx, const Args& args)
{
    // As the box's toolbox rm: an argument that starts with "-" is options,
    // an unknown letter is refused, and without a name left only the usage
    // is printed.  Nothing is removed in either case.
    size_t first = 0;
    const std::string flags = TakeFlags(args, first);
    const size_t bad = flags.find_first_not_of("frR");
    if (bad != std::string::npos)
        ctx.out.Line(std::string("rm: invalid option -- ") + flags[bad]);
    if (bad != std::string::npos || first >= args.size()) {
        ctx.out.Line("rm [-rR] [-f] <target>");
        return 1;
    }
    const bool recursive = flags.find_first_of("rR") != std::string::npos;
    const bool force = flags.find('f') != std::string::npos;
    int status = 0;
    for (size_t i = first; i < args.size(); ++i) {
        const Node node = ctx.Resolve(args[i], false);
        if (force && node.kind == NodeKind::Missing)
            continue;
        const std::string error = RemoveError(node, recursive);
        if (!error.empty()) {
            ctx.out.Line("rm failed for " + args[i] + ", " + error);
            status = 1;
        }
    }
    return status;
}

int CmdMv(ShellContext& ctx, const Args& args)
{
    if (args.size() < 3) {
        ctx.out.Line("Usage: mv <source...> <destination>");
        return 1;
    }
    const std::string& dst = args.back();
    const Node dstNode = ctx.Resolve(dst);
    std::error_code ec;
    if (args.size() > 3 && !(dstNode.kind == NodeKind::Host && fs::is_directory(dstNode.host, ec))) {
        ctx.out.Line("mv: target '" + dst + "' is not a directory");
        return 1;
    }
    int status = 0;
    for (size_t i = 1; i + 1 < args.size(); ++i) {
        const std::string error = MoveError(ctx, ctx.Resolve(args[i], false), dst);
        if (!error.empty()) {
            ctx.out.Line("mv: cannot move '" + args[i] + "' to '" + dst + "': " + error);
            status = 1;
        }
    }
    return status;
}

// Creates a missing file, or gives an existing one the current time.
int CmdTouch(ShellContext& ctx, const Args& args)
{
    if (args.size() < 2) {
        ctx.out.Line("touch: usage: touch <file>...");
        return 1;
    }
    int status = 0;
    for (size_t i = 1; i < args.size(); ++i) {
        const Node node = ctx.Resolve(args[i]);
        std::error_code ec;
        if (node.kind == NodeKind::Host)
            fs::last_write_time(node.host, fs::file_time_type::clock::now(), ec);
        else if (node.kind == NodeKind::Missing && node.writable && IsDir(node.host.parent_path()))
            std::ofstream(node.host, std::ios::app);
        else
            ec = std::make_error_code(std::errc::no_such_file_or_directory);
        if (ec || !fs::exists(node.host)) {
            const bool mapped = node.kind == NodeKind::Escapes || node.writable;
            ctx.out.Line("touch: " + args[i] + ": " + (mapped ? NodeError(node) : "Read-only file system"));
            status = 1;
        }
    }
    return status;
}

int CmdChmod(ShellContext& ctx, const Args& args)
{
    unsigned mode = 0;
    if (args.size() < 3) {
        ctx.out.Line("Usage: chmod <MODE> <FILE>");
        return 1;
    }
    if (!ParseOctalMode(args[1], mode)) {
        ctx.out.Line("Bad mode");
        return 1;
    }
    int status = 0;
    for (size_t i = 2; i < args.size(); ++i) {
        const Node node = ctx.Resolve(args[i]);
        if (node.kind != NodeKind::Host) {
            ctx.out.Line("Unable to chmod " + args[i] + ": " + NodeError(node));
            status = 1;
            continue;
        }
        if (node.vfat)  // vfat keeps no permissions; the box ignores them there
            continue;
        // The simulator must still be able to read and rewrite its own files.
        const auto perms = static_cast<fs::perms>((mode & 0777) | 0600);
        std::error_code ec;
        fs::permissions(node.host, perms, fs::perm_options::replace, ec);
        if (ec) {
            ctx.out.Line("Unable to chmod " + args[i] + ": " + ec.message());
            status = 1;
        }
    }
    return status;
}

}  // namespace box::dev
