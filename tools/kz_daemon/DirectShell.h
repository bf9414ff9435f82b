#pragma once
// `shell <command>` without running adb: the adapter asks the running server
// for the box's transport and its shell service and streams what the box
// prints.  Only the plain form is taken this way (a command, no shell options,
// an old box whose shell is the raw one).  When the server refuses the box
// (none, several and no -s, a serial not attached, offline), the adapter
// prints the refusal as adb does; everything else, and every other failure
// before the command has started on the box, is left to adb.

#include "tools/kz_daemon/SignalChannel.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kz::adapter {

struct ShellPlan {
    std::string features;   // the query for the box's features
    std::string transport;  // the switch to the box's transport
    std::string service;    // "shell:" and the command as adb joins it
};

// The plan for `[-s SERIAL] shell ARG...`, or nullopt for anything else.
// `serialEnv` is ANDROID_SERIAL (null when unset), which adb would honour.
std::optional<ShellPlan> PlanDirectShell(const std::vector<std::string>& args, const char* serialEnv);

// A box that speaks the newer shell protocol frames its output; adb then
// uses that protocol, so the adapter must leave the command to adb.
bool HasShellProtocol(std::string_view features);

struct ShellSink {
    std::function<void(std::string_view)> output;
    std::function<bool()> wantsIdle;
    std::function<void()> idle;
};

// Runs the plan on the server at `port`.  nullopt when the command was not
// started (the caller runs adb instead); else the adapter's exit code once
// the box has closed the stream or the server refused the box, or the
// termination signal's.
std::optional<int> RunShellDirectly(const ShellPlan& plan, int port, SignalChannel& signals, const ShellSink& sink,
                                    std::chrono::milliseconds timeout, std::chrono::milliseconds idleDelay);

}  // namespace kz::adapter
