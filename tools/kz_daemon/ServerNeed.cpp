#include "tools/kz_daemon/ServerNeed.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace kz::adapter {

namespace {

constexpr int kDefaultServerPort = 5037;

struct Target
{
    std::string command;
    std::string port;    // from -P; empty when not given
    std::string serial;  // from -s; empty when not given
    bool remote = false;
};

bool TakesValue(std::string_view option)
{
    return option == "-s" || option == "-t" || option == "-H" || option == "-P" || option == "-L";
}

// Skips adb's global options ("-s SERIAL", "-P5038", "-d", ...) up to the
// command word.
Target ReadTarget(const std::vector<std::string>& args)
{
    Target target;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.empty() || arg[0] != '-') {
            target.command = arg;
            break;
        }
        const std::string_view name = std::string_view(arg).substr(0, 2);
        std::string value = arg.substr(name.size());
        if (arg == name && TakesValue(name) && i + 1 < args.size())
            value = args[++i];
        if (name == "-P")
            target.port = value;
        if (name == "-s")
            target.serial = value;
        target.remote = target.remote || name == "-H" || name == "-L";
    }
    return target;
}

std::optional<int> ParsePort(std::string_view text)
{
    if (text.empty() || text.size() > 5 || !std::all_of(text.begin(), text.end(), [](char c) {
            return c >= '0' && c <= '9';
        }))
        return std::nullopt;
    int port = 0;
    for (char c : text)
        port = port * 10 + (c - '0');
    return port >= 1 && port <= 65535 ? std::optional<int>(port) : std::nullopt;
}

bool NeedsNoServer(const std::string& command)
{
    constexpr std::array<std::string_view, 5> kOwnServerOrNone = {"", "start-server", "kill-server", "version",
                                                                   "help"};
    return std::find(kOwnServerOrNone.begin(), kOwnServerOrNone.end(), command) != kOwnServerOrNone.end();
}

}  // namespace

std::string CommandWordOf(const std::vector<std::string>& args)
{
    return ReadTarget(args).command;
}

std::string ChosenSerial(const std::vector<std::string>& args, const char* serialEnv)
{
    const std::string serial = ReadTarget(args).serial;
    if (!serial.empty() || serialEnv == nullptr)
        return serial;
    return serialEnv;
}

std::optional<int> LocalServerPortFor(const std::vector<std::string>& args, const char* portEnv,
                                      const char* socketEnv)
{
    const Target target = ReadTarget(args);
    if (NeedsNoServer(target.command) || target.remote || (socketEnv != nullptr && *socketEnv != '\0'))
        return std::nullopt;
    if (!target.port.empty())
        return ParsePort(target.port);
    if (portEnv != nullptr && *portEnv != '\0')
        return ParsePort(portEnv);
    return kDefaultServerPort;
}

}  // namespace kz::adapter
