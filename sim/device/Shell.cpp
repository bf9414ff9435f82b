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

// The shell's own command, unless the box was set up without it (an applet
// removed from busybox takes the shell's command of that name along).
CommandFn BoxCommand(const ShellContext& ctx, const std::string& name)
{
    return ctx.box.Config().missingApplets.count(name) ? nullptr : FindBuiltin(name);
}

int RunProgramFile(ShellContext& ctx, const Args& args)
{
    const std::string path = ctx.Absolute(args[0]);
    if (path.rfind("/system/bin/", 0) == 0)
        if (CommandFn fn = BoxCommand(ctx, path.substr(12)))
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

// Collects what a command substitution prints, up to a limit: a larger
// output reads as a host that has gone, which stops the command.
class CapturedOutput : public Output {
public:
    bool Write(std::string_view bytes) override
    {
        if (text.size() + bytes.size() > kLimit)
            return false;
        text += bytes;
        return true;
    }
    static constexpr size_t kLimit = 1 << 20;
    std::string text;
};

constexpr int kMaxSubstitutionDepth = 8;

int RunParsed(ShellContext& ctx, const ParsedLine& parsed);

// Runs in a copy of the context, as sh runs it in a subshell: a cd inside
// does not move the command around it.  Trailing line feeds are dropped.
std::string Substitute(const ShellContext& ctx, const std::string& command)
{
    Printer& errors = ctx.errors ? *ctx.errors : ctx.out;
    if (ctx.depth >= kMaxSubstitutionDepth) {
        errors.Line("sh: command substitutions nested too deeply");
        return {};
    }
    CapturedOutput captured;
    Printer printer(captured);
    ShellContext sub{ctx.box, printer, ctx.cwd, false, ctx.depth + 1, &errors};
    RunParsed(sub, ParseCommandLine(command));
    std::string output = std::move(captured.text);
    while (!output.empty() && output.back() == '\n')
        output.pop_back();
    return output;
}

// The word with every substitution's output put in, run left to right; the
// output is taken literally, also by wildcards.
Word Substituted(const ShellContext& ctx, Word w)
{
    std::vector<std::string> outputs;
    for (const auto& sub : w.substitutions)
        outputs.push_back(Substitute(ctx, sub.command));
    for (size_t k = outputs.size(); k-- > 0;) {
        std::string pattern;
        for (const char c : outputs[k]) {
            if (c == '*' || c == '?' || c == '[' || c == '\\')
                pattern += '\\';
            pattern += c;
        }
        w.text.insert(w.substitutions[k].textAt, outputs[k]);
        w.pattern.insert(w.substitutions[k].patternAt, pattern);
    }
    w.substitutions.clear();
    return w;
}

int Execute(ShellContext& ctx, const Args& args)
{
    if (args[0].find('/') != std::string::npos)
        return RunProgramFile(ctx, args);
    if (CommandFn fn = BoxCommand(ctx, args[0]))
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
    for (const auto& word : words) {
        const Word w = word.substitutions.empty() ? word : Substituted(ctx, word);
        if (w.glob)
            ExpandOne(ctx, w, args);
        else
            args.push_back(w.text);
    }
    return args;
}

namespace {

int RunParsed(ShellContext& ctx, const ParsedLine& parsed)
{
    if (!parsed.error.empty())
        ctx.out.Line(parsed.error);
    int status = parsed.error.empty() ? 0 : 2;
    for (const auto& cmd : parsed.commands) {
        if ((cmd.joint == Joint::IfOk && status != 0) || (cmd.joint == Joint::IfFailed && status == 0))
            continue;
        const Args args = ExpandWords(ctx, cmd.words);
        // A command word that was only a substitution printing nothing.
        const bool nothing = args[0].empty() && !cmd.words[0].substitutions.empty();
        status = nothing ? 0 : Execute(ctx, args);
        if (ctx.reboot || !ctx.out.Alive())
            break;
    }
    return status;
}

}  // namespace

ShellResult RunCommandLine(BoxState& box, const std::string& line, Output& out)
{
    Printer printer(out);
    ShellContext ctx{box, printer};
    RunParsed(ctx, ParseCommandLine(line));
    ShellResult result;
    if (ctx.reboot) {
        box.Rebooted();
        result.reboot = true;
    }
    return result;
}

}  // namespace box::dev
