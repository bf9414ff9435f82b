#include "Builtins.h"

#include <map>

namespace box::dev {

CommandFn FindBuiltin(const std::string& name)
{
    static const std::map<std::string, CommandFn> table{
        {"ls", CmdLs},       {"cat", CmdCat},       {"cd", CmdCd},       {"pwd", CmdPwd},
        {"echo", CmdEcho},   {"true", CmdTrue},     {"false", CmdFalse}, {"sync", CmdSync},
        {"rm", CmdRm},       {"mv", CmdMv},         {"chmod", CmdChmod}, {"mount", CmdMount},
        {"umount", CmdUmount}, {"df", CmdDf},       {"getprop", CmdGetprop}, {"reboot", CmdReboot},
        {"touch", CmdTouch},   {"md5sum", CmdMd5sum},
    };
    const auto it = table.find(name);
    return it == table.end() ? nullptr : it->second;
}

std::string TakeFlags(const Args& args, size_t& first)
{
    std::string flags;
    first = 1;
    while (first < args.size() && args[first].size() > 1 && args[first][0] == '-') {
        if (args[first] == "--") {
            ++first;
            break;
        }
        flags += args[first].substr(1);
        ++first;
    }
    return flags;
}

int CmdTrue(ShellContext&, const Args&)
{
    return 0;
}

int CmdFalse(ShellContext&, const Args&)
{
    return 1;
}

int CmdSync(ShellContext&, const Args&)
{
    return 0;
}

int CmdEcho(ShellContext& ctx, const Args& args)
{
    size_t i = 1;
    const bool newline = !(args.size() > 1 && args[1] == "-n");
    if (!newline)
        ++i;
    std::string text;
    for (; i < args.size(); ++i)
        text += (text.empty() ? "" : " ") + args[i];
    ctx.out.Print(newline ? text + "\n" : text);
    return 0;
}

int CmdPwd(ShellContext& ctx, const Args&)
{
    ctx.out.Line(ctx.cwd);
    return 0;
}

int CmdCd(ShellContext& ctx, const Args& args)
{
    const std::string target = args.size() > 1 ? args[1] : "/";
    const Node node = ctx.Resolve(target);
    std::error_code ec;
    const bool dir = node.kind == NodeKind::VirtualDir ||
                     (node.kind == NodeKind::Host && std::filesystem::is_directory(node.host, ec));
    if (!dir) {
        ctx.out.Line("cd: " + target + ": " + (node.kind == NodeKind::Host ? "Not a directory" : NodeError(node)));
        return 1;
    }
    ctx.cwd = node.path;
    return 0;
}

int CmdGetprop(ShellContext& ctx, const Args& args)
{
    static const std::map<std::string, std::string> props{
        {"ro.product.model", "imx51_bbg"},
        {"ro.product.name", "imx51_bbg"},
        {"ro.product.device", "imx51_bbg"},
        {"ro.build.version.release", "2.3.4"},
    };
    if (args.size() < 2) {
        for (const auto& [key, value] : props)
            ctx.out.Line("[" + key + "]: [" + value + "]");
        return 0;
    }
    const auto it = props.find(args[1]);
    ctx.out.Line(it == props.end() ? (args.size() > 2 ? args[2] : "") : it->second);
    return 0;
}

int CmdReboot(ShellContext& ctx, const Args&)
{
    ctx.reboot = true;
    return 0;
}

}  // namespace box::dev
