#pragma once
// Which local adb server a command line will talk to, if any.  The adapter
// starts that server itself before the command runs, so that the command
// meets a server that has already connected the box (see Adapter.cpp).

#include <optional>
#include <string>
#include <vector>

namespace kz::adapter {

// The 127.0.0.1 port of the server the command needs, or nullopt when the
// adapter should leave the server alone: the command starts or stops the
// server itself, never talks to one (no command, "version", "help"), names
// a remote server or socket (-H, -L, ADB_SERVER_SOCKET), or names a port adb
// will refuse (adb then says so itself).  `portEnv` and `socketEnv` are the
// values of ANDROID_ADB_SERVER_PORT and ADB_SERVER_SOCKET (null when unset).
// The command word after adb's global options ("devices", "shell", ...);
// empty when there is none.
std::string CommandWordOf(const std::vector<std::string>& args);

// The box the command names: the value of -s, else `serialEnv`
// (ANDROID_SERIAL, null when unset), as adb chooses; empty for any box.
std::string ChosenSerial(const std::vector<std::string>& args, const char* serialEnv);

std::optional<int> LocalServerPortFor(const std::vector<std::string>& args, const char* portEnv,
                                      const char* socketEnv);

}  // namespace kz::adapter
