#include "AdbServer.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <csignal>
#include <fcntl.h>
#include <netinet/in.h>
#include <sstream>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace e2e {

CommandResult RunAdb(const std::string& arguments, int timeoutSeconds)
{
    return RunCommand("adb " + arguments, timeoutSeconds);
}

bool Watchdog::Start(uint16_t adbServerPort, const std::string& removeDir)
{
    std::string dir = removeDir;  // prepared here: the child may not allocate
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return false;
    pid_ = ::fork();
    if (pid_ < 0)
        return false;
    if (pid_ == 0) {
        // Only async-signal-safe calls from here on: the parent has threads.
        // Holding no other descriptor: another watchdog's pipe kept open here
        // would never report its owner's end.
        for (int fd = 3; fd < 1024; ++fd) {
            if (fd != fds[0])
                ::close(fd);
        }
        ::setpgid(0, 0);  // a Ctrl-C to the test must not take the watchdog first
        char buffer[512];
        pid_t guarded[64];
        int count = 0;
        long value = 0;
        bool disarmed = false;
        ssize_t n;
        while ((n = ::read(fds[0], buffer, sizeof buffer)) > 0) {
            for (ssize_t i = 0; i < n; ++i) {
                if (buffer[i] == 'X') {
                    disarmed = true;
                } else if (buffer[i] >= '0' && buffer[i] <= '9') {
                    value = value * 10 + (buffer[i] - '0');
                } else if (value > 0 && count < 64) {
                    guarded[count++] = static_cast<pid_t>(value);
                    value = 0;
                }
            }
        }
        if (disarmed)
            ::_exit(0);
        for (int i = 0; i < count; ++i)
            ::kill(guarded[i], SIGTERM);
        char port[16];
        int digits = 0;
        char reversed[8];
        for (unsigned p = adbServerPort; p > 0 && digits < 8; p /= 10)
            reversed[digits++] = static_cast<char>('0' + p % 10);
        for (int i = 0; i < digits; ++i)
            port[i] = reversed[digits - 1 - i];
        port[digits] = '\0';
        int devnull = ::open("/dev/null", O_RDWR);
        ::dup2(devnull, 1);
        ::dup2(devnull, 2);
        pid_t killer = ::fork();
        if (killer == 0) {
            ::execlp("adb", "adb", "-P", port, "kill-server", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        if (killer > 0)
            ::waitpid(killer, nullptr, 0);
        if (!dir.empty())
            ::execlp("rm", "rm", "-rf", dir.c_str(), static_cast<char*>(nullptr));
        ::_exit(0);
    }
    ::close(fds[0]);
    pipe_ = fds[1];
    return true;
}

void Watchdog::Guard(pid_t pid)
{
    if (pipe_ < 0)
        return;
    std::string line = std::to_string(pid) + "\n";
    [[maybe_unused]] ssize_t n = ::write(pipe_, line.data(), line.size());
}

void Watchdog::Disarm()
{
    if (pipe_ >= 0)
        [[maybe_unused]] ssize_t n = ::write(pipe_, "X", 1);
}

Watchdog::~Watchdog()
{
    if (pipe_ >= 0)
        ::close(pipe_);
    if (pid_ > 0)
        ::waitpid(pid_, nullptr, 0);
}

bool PrivateAdbServer::Start(std::string& error, const std::string& removeDirOnCrash)
{
    port_ = FreeTcpPort();
    ::setenv("ANDROID_ADB_SERVER_PORT", std::to_string(port_).c_str(), 1);
    // A starting server connects every emulator port from 5555 up and keeps
    // what answers: another test's boxes there would become this server's
    // devices, and a box holds only one host.  Boxes register by themselves.
    ::setenv("ADB_LOCAL_TRANSPORT_MAX_PORT", "5553", 1);
    if (!watchdog_.Start(port_, removeDirOnCrash)) {
        error = "cannot start the watchdog";
        return false;
    }
    CommandResult started = RunAdb("start-server");
    running_ = true;
    if (started.exitCode != 0) {
        error = "adb start-server failed: " + started.output;
        return false;
    }
    return true;
}

void PrivateAdbServer::Stop()
{
    if (!running_)
        return;
    running_ = false;
    RunAdb("kill-server");
    watchdog_.Disarm();
}

std::string PrivateAdbServer::StateOf(const std::string& serial)
{
    std::istringstream lines(RunAdb("devices", 10).output);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind(serial + "\t", 0) == 0)
            return line.substr(serial.size() + 1);
    }
    return "";
}

bool PrivateAdbServer::WaitForState(const std::string& serial, const std::string& state,
                                    std::chrono::milliseconds timeout)
{
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (StateOf(serial) != state) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
}

std::string EmulatorSerial(uint16_t boxPort)
{
    return "emulator-" + std::to_string(boxPort - 1);
}

}  // namespace e2e
