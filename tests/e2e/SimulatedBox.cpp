#include "SimulatedBox.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace e2e {

namespace {

bool WaitForExit(pid_t pid, std::chrono::milliseconds timeout)
{
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (::waitpid(pid, nullptr, WNOHANG) == pid)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

}  // namespace

std::filesystem::path KorvaldBoxPath()
{
    return std::filesystem::path(KZ_BIN_DIR) / "korvald-box";
}

bool SimulatedBox::Start(std::string& error, const std::filesystem::path& folder, uint16_t port,
                         const std::string& configJson, PrivateAdbServer& server)
{
    folder_ = folder;
    port_ = port != 0 ? port : FreeTcpPort();
    std::filesystem::create_directories(StateDir());
    if (!configJson.empty())
        std::ofstream(folder_ / "config.json") << configJson;
    const std::string portText = std::to_string(port_);
    const std::string state = StateDir().string();
    const std::string config = (folder_ / "config.json").string();
    const bool hasConfig = !configJson.empty();
    const std::string program = KorvaldBoxPath().string();
    const int log = ::open((folder_ / "box.log").c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    const pid_t parent = ::getpid();
    pid_ = ::fork();
    if (pid_ < 0) {
        error = "cannot fork";
        return false;
    }
    if (pid_ == 0) {
        // A test that crashes takes its box with it.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent)
            ::_exit(1);
        ::dup2(log, 1);
        ::dup2(log, 2);
        if (hasConfig)
            ::execl(program.c_str(), "korvald-box", "--port", portText.c_str(), "--state", state.c_str(), "--config",
                    config.c_str(), static_cast<char*>(nullptr));
        else
            ::execl(program.c_str(), "korvald-box", "--port", portText.c_str(), "--state", state.c_str(),
                    static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(log);
    server.Guard(pid_);
    return true;
}

void SimulatedBox::Stop()
{
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGTERM);
    if (!WaitForExit(pid_, std::chrono::seconds(5))) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    pid_ = -1;
}

std::string SimulatedBox::Ctl(const std::string& command) const
{
    CommandResult result = RunCommand(ShellQuote(KorvaldBoxPath().string()) + " ctl --state "
                                      + ShellQuote(StateDir().string()) + " " + command);
    std::string answer = result.output;
    while (!answer.empty() && answer.back() == '\n')
        answer.pop_back();
    return answer;
}

std::string SimulatedBox::Serial() const
{
    return EmulatorSerial(port_);
}

std::string SimulatedBox::Log() const
{
    std::ifstream in(folder_ / "box.log");
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace e2e
