// korvald-box: a simulated duplicator box that the real adb server finds as
// an emulator on 127.0.0.1.
//
//   korvald-box --port 5555 --state DIR [--config FILE]
//   korvald-box ctl --state DIR COMMAND [ARGS...]

#include "sim/device/Device.h"
#include "transport/Box.h"
#include "transport/ControlChannel.h"
#include "transport/DeviceApi.h"
#include "transport/LinkConfig.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

class DeviceAdapter : public box::DeviceApi {
public:
    explicit DeviceAdapter(box::Device& device) : device_(device) {}
    std::string ProductName() const override { return device_.ProductName(); }
    std::string ProductModel() const override { return device_.ProductModel(); }
    std::string ProductDevice() const override { return device_.ProductDevice(); }
    int RebootDelayMs() const override { return device_.RebootDelayMs(); }
    box::ShellResult RunShell(const std::string& command, box::Output& out) override
    {
        return device_.RunShell(command, out);
    }
    box::FileStat Stat(const std::string& path) override { return device_.Stat(path); }
    std::unique_ptr<box::PushTarget> BeginPush(const std::string& path, uint32_t mode, std::string& error) override
    {
        return device_.BeginPush(path, mode, error);
    }
    std::unique_ptr<box::PullSource> BeginPull(const std::string& path, std::string& error) override
    {
        return device_.BeginPull(path, error);
    }
    std::string Control(const std::string& command) override { return device_.Control(command); }

private:
    box::Device& device_;
};

struct Arguments {
    bool ctl = false;
    std::optional<long> port;
    std::optional<std::filesystem::path> state;
    std::optional<std::filesystem::path> config;
    std::string command;  // ctl only
};

int Usage(const std::string& problem)
{
    std::fprintf(stderr,
                 "korvald-box: %s\n"
                 "usage: korvald-box --port PORT --state DIR [--config FILE]\n"
                 "       korvald-box ctl --state DIR COMMAND\n",
                 problem.c_str());
    return 2;
}

bool ParseArguments(const std::vector<std::string>& args, Arguments& parsed, std::string& problem)
{
    size_t i = 0;
    if (!args.empty() && args[0] == "ctl") {
        parsed.ctl = true;
        i = 1;
    }
    for (; i < args.size(); ++i) {
        const std::string& arg = args[i];
        bool hasValue = i + 1 < args.size();
        if ((arg == "--port" || arg == "--state" || arg == "--config") && !hasValue) {
            problem = arg + " needs a value";
            return false;
        }
        if (arg == "--port") {
            char* end = nullptr;
            long port = std::strtol(args[++i].c_str(), &end, 10);
            if (*end != '\0' || port <= 0 || port > 65535) {
                problem = "invalid port " + args[i];
                return false;
            }
            parsed.port = port;
        } else if (arg == "--state") {
            parsed.state = args[++i];
        } else if (arg == "--config") {
            parsed.config = args[++i];
        } else if (parsed.ctl) {
            parsed.command += (parsed.command.empty() ? "" : " ") + arg;
        } else {
            problem = "unknown argument " + arg;
            return false;
        }
    }
    if (!parsed.state)
        problem = "--state is required";
    else if (parsed.ctl && parsed.command.empty())
        problem = "ctl needs a command";
    else if (!parsed.ctl && !parsed.port)
        problem = "--port is required";
    return problem.empty();
}

int RunControl(const Arguments& args)
{
    std::optional<std::string> answer = box::SendControl(box::ControlSocketPath(*args.state), args.command);
    if (!answer) {
        std::fprintf(stderr, "korvald-box: no box is running with state %s\n", args.state->c_str());
        return 1;
    }
    std::printf("%s\n", answer->c_str());
    return *answer == "ok" || args.command == "status" ? 0 : 1;
}

int WaitForStopSignal(const sigset_t& signals)
{
    int signal = 0;
    sigwait(&signals, &signal);
    return signal;
}

int RunBox(const Arguments& args)
{
    std::string error;
    std::optional<box::LinkConfig> link = box::LoadLinkConfig(args.config, error);
    if (!link)
        return Usage(error);
    std::error_code ec;
    std::filesystem::create_directories(*args.state, ec);

    // Stop signals are taken by sigwait on this thread only; SIGPIPE never
    // ends the box when a host goes away.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    try {
        box::Device device(box::DeviceOptions{*args.state, args.config});
        DeviceAdapter adapter(device);
        box::BoxOptions options;
        options.port = static_cast<uint16_t>(*args.port);
        options.adbServerPort = box::AdbServerPortFromEnvironment();
        options.controlSocket = box::ControlSocketPath(*args.state);
        options.link = link->mode;
        options.plugged = link->plugged;
        box::Box simulated(adapter, options);
        if (!simulated.Start(error)) {
            std::fprintf(stderr, "korvald-box: %s\n", error.c_str());
            return 1;
        }
        std::fprintf(stderr, "korvald-box: listening on 127.0.0.1:%u, registering with the adb server on port %u\n",
                     simulated.Port(), options.adbServerPort);
        int signal = WaitForStopSignal(signals);
        std::fprintf(stderr, "korvald-box: stopping on signal %d\n", signal);
        simulated.Stop();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "korvald-box: %s\n", e.what());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    Arguments args;
    std::string problem;
    if (!ParseArguments(std::vector<std::string>(argv + 1, argv + argc), args, problem))
        return Usage(problem);
    return args.ctl ? RunControl(args) : RunBox(args);
}
