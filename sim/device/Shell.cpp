#include "Shell.h"

#include "ShellLexer.h"

#include <algorithm>
#include <cctype>
#include <fnmatch.h>

namespace box::dev {
namespace fs = std::filesystem;
namespace {

std::string Lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::vector<std::string> NamesIn(const ShellContext& ctx, const std::string& dir)
{
    const Node node = ctx.Resolve(dir.empty() ? "." : dir);
    if (node.kind == NodeKind::VirtualDir)
        return ctx.box.Fs().VirtualChildren(node.path, ctx.box.Media());
    std::vector<std::string> names;
    std::error_code ec;
    if (node.kind != NodeKind::Host || !fs::is_directory(node.host, ec))
        return names;
    for (fs::directory_iterator it(node.host, ec), end; !ec && it != end; it.increment(ec))
        names.push_back(it->path().filename().string());
    return names;
}

bool HasWildcard(const std::string& pattern)
{
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '\\')
            ++i;
        else if (pattern[i] == '*' || pattern[i] == '?')
            return true;
    }
    return false;
}

// Only the last component of a word may hold wildcards; a word without any
// match stays as it was written, as sh does.
void ExpandOne(const ShellContext& ctx, const Word& w, Args& out)
{
    const size_t slash = w.pattern.rfind('/');
    const std::string dirPattern = slash == std::string::npos ? "" : w.pattern.substr(0, slash + 1);
    const std::string namePattern = slash == std::string::npos ? w.pattern : w.pattern.substr(slash + 1);
    const size_t textSlash = w.text.rfind('/');
    const std::string dirText = textSlash == std::string::npos ? "" : w.text.substr(0, textSlash + 1);
    if (HasWildcard(dirPattern)) {
        out.push_back(w.text);
        return;
    }
    std::vector<std::string> matches;
    for (const auto& name : NamesIn(ctx, dirText))
        if (::fnmatch(namePattern.c_str(), name.c_str(), FNM_PERIOD) == 0)
            matches.push_back(dirText + name);
    std::sort(matches.begin(), matches.end());
    if (matches.empty())
        out.push_back(w.text);
    out.insert(out.end(), matches.begin(), matches.end());
}

int RunProgramFile(ShellContext& ctx, const Args& args)
{
    const std::string path = ctx.Absolute(args[0]);
    if (path.rfind("/system/bin/", 0) == 0)
        if (CommandFn fn = FindBuiltin(path.substr(12)))
            return fn(ctx, args);
    const Node node = ctx.Resolve(args[0]);
    std::error_code ec;
    if (node.kind == NodeKind::Escapes) {
        ctx.out.Line("sh: " + args[0] + ": " + kOutsideStorage);
        return 126;
    }
    if (node.kind != NodeKind::Host || !fs::is_regular_file(node.host, ec)) {
        ctx.out.Line("sh: " + args[0] + ": not found");
        return 127;
    }
    const std::string name = Lower(node.host.filename().string());
    if (name == "emmc")
        return RunChipTool(ctx, args);
    if (name == "busybox")
        return RunBusybox(ctx, args);
    if (name == "dl_kernel.sh" || name == "dl_ramdisk.sh")
        return RunFlashScript(ctx, args, node);
    ctx.out.Line("sh: " + args[0] + ": Permission denied");
    return 126;
}

int Execute(ShellContext& ctx, const Args& args)
{
    if (args[0].find('/') != std::string::npos)
        return RunProgramFile(ctx, args);
    if (CommandFn fn = FindBuiltin(args[0]))
        return fn(ctx, args);
    ctx.out.Line("sh: " + args[0] + ": not found");
    return 127;
}

}  // namespace

bool Printer::Print(std::string_view text)
{
    if (alive_ && !text.empty())
        alive_ = out_.Write(text);
    return alive_;
}

bool Printer::Line(std::string_view text)
{
    return Print(std::string(text) + "\n");
}

Args ExpandWords(const ShellContext& ctx, const std::vector<Word>& words)
{
    Args args;
    for (const auto& w : words) {
        if (w.glob)
            ExpandOne(ctx, w, args);
        else
            args.push_back(w.text);
    }
    return args;
}

ShellResult RunCommandLine(BoxState& box, const std::string& line, Output& out)
{
    Printer printer(out);
    ShellContext ctx{box, printer};
    const ParsedLine parsed = ParseCommandLine(line);
    if (!parsed.error.empty())
        printer.Line(parsed.error);
    int status = 0;
    for (const auto& cmd : parsed.commands) {
        if ((cmd.joint == Joint::IfOk && status != 0) || (cmd.joint == Joint::IfFailed && status == 0))
            continue;
        status = Execute(ctx, ExpandWords(ctx, cmd.words));
        if (ctx.reboot || !printer.Alive())
            break;
    }
    ShellResult result;
    if (ctx.reboot) {
        box.Rebooted();
        result.reboot = true;
    }
    return result;
}

}  // namespace box::dev
