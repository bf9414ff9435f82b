#pragma once
// What one running command line sees: the box, where it writes, its current
// directory.  Commands are plain functions over this context.

#include "BoxState.h"
#include "Device.h"

#include <string>
#include <string_view>
#include <vector>

namespace box::dev {

// Writes to the host and remembers once the host has gone, so that long
// commands can stop early.
class Printer {
public:
    explicit Printer(Output& out) : out_(out) {}
    bool Print(std::string_view text);
    bool Line(std::string_view text);
    bool Alive() const { return alive_; }

private:
    Output& out_;
    bool alive_ = true;
};

struct ShellContext {
    BoxState& box;
    Printer& out;
    std::string cwd = "/";
    bool reboot = false;
    int depth = 0;  // command substitutions around this context
    Printer* errors = nullptr;  // inside a substitution: the line's own output

    std::string Absolute(const std::string& path) const { return NormalizeVirtual(cwd, path); }
    Node Resolve(const std::string& path, bool followLast = true) const
    {
        return box.Fs().Resolve(Absolute(path), box.Media(), followLast);
    }
};

using Args = std::vector<std::string>;  // args[0] is the command's name
using CommandFn = int (*)(ShellContext&, const Args&);

// Looks up a built-in command by name (as found in /system/bin).
CommandFn FindBuiltin(const std::string& name);

// Programs that live as files on the box and are recognised by file name.
int RunChipTool(ShellContext& ctx, const Args& args);
int RunBusybox(ShellContext& ctx, const Args& args);
int RunFlashScript(ShellContext& ctx, const Args& args, const Node& script);

}  // namespace box::dev
