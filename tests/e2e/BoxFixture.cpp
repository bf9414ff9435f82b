#include "BoxFixture.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace e2e {

namespace {

std::string ShellQuote(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

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

bool BoxFixture::Start(std::string& error, const std::string& configJson)
{
    if (!std::filesystem::exists(KorvaldBoxPath())) {
        error = KorvaldBoxPath().string() + " is not built";
        return false;
    }
    std::string pattern = (std::filesystem::temp_directory_path() / "kz-e2e-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        error = "cannot create a temporary folder";
        return false;
    }
    root_ = pattern;
    std::filesystem::create_directories(StateDir());
    if (!configJson.empty())
        std::ofstream(root_ / "config.json") << configJson;
    if (!server_.Start(error, root_.string()) || !StartBox(error))
        return false;
    if (!server_.WaitForState(Serial(), "device", std::chrono::seconds(15))) {
        error = "the adb server never listed the box as a device; box log:\n" + BoxLog();
        return false;
    }
    return true;
}

bool BoxFixture::StartBox(std::string& error)
{
    boxPort_ = FreeTcpPort();
    std::string port = std::to_string(boxPort_);
    std::string state = StateDir().string();
    std::string config = (root_ / "config.json").string();
    bool hasConfig = std::filesystem::exists(config);
    int log = ::open((root_ / "box.log").c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    pid_t parent = ::getpid();
    boxPid_ = ::fork();
    if (boxPid_ < 0) {
        error = "cannot fork";
        return false;
    }
    if (boxPid_ == 0) {
        // A test that crashes takes its box with it.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent)
            ::_exit(1);
        ::dup2(log, 1);
        ::dup2(log, 2);
        std::string program = KorvaldBoxPath().string();
        if (hasConfig)
            ::execl(program.c_str(), "korvald-box", "--port", port.c_str(), "--state", state.c_str(), "--config",
                    config.c_str(), static_cast<char*>(nullptr));
        else
            ::execl(program.c_str(), "korvald-box", "--port", port.c_str(), "--state", state.c_str(),
                    static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(log);
    server_.Guard(boxPid_);
    return true;
}

void BoxFixture::StopBox()
{
    if (boxPid_ <= 0)
        return;
    ::kill(boxPid_, SIGTERM);
    if (!WaitForExit(boxPid_, std::chrono::seconds(5))) {
        ::kill(boxPid_, SIGKILL);
        ::waitpid(boxPid_, nullptr, 0);
    }
    boxPid_ = -1;
}

void BoxFixture::Stop()
{
    StopBox();
    server_.Stop();
    if (!root_.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
        root_.clear();
    }
}

std::string BoxFixture::Ctl(const std::string& command)
{
    CommandResult result = RunCommand(ShellQuote(KorvaldBoxPath().string()) + " ctl --state "
                                      + ShellQuote(StateDir().string()) + " " + command);
    std::string answer = result.output;
    while (!answer.empty() && answer.back() == '\n')
        answer.pop_back();
    return answer;
}

std::string BoxFixture::BoxLog() const
{
    std::ifstream in(root_ / "box.log");
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace e2e
