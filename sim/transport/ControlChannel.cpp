#include "ControlChannel.h"

#include "Socket.h"

#include <sys/socket.h>
#include <unistd.h>

namespace box {

namespace {

constexpr size_t kMaxLine = 4096;
constexpr int kTimeoutMs = 1000;
// A device command such as a slow "speed" change may take a while to answer.
constexpr int kAnswerTimeoutMs = 30000;

}  // namespace

std::filesystem::path ControlSocketPath(const std::filesystem::path& stateDir)
{
    return stateDir / "control.sock";
}

bool ReadControlLine(int fd, std::string& line)
{
    line.clear();
    char c;
    while (line.size() < kMaxLine) {
        if (!WaitReadable(fd, kTimeoutMs))
            return false;
        ssize_t n = ::read(fd, &c, 1);
        if (n <= 0)
            return !line.empty();
        if (c == '\n')
            return true;
        line.push_back(c);
    }
    return false;
}

std::optional<std::string> SendControl(const std::filesystem::path& socketPath, const std::string& command)
{
    UniqueFd fd = ConnectUnix(socketPath.string());
    if (!fd.Valid() || !WriteAll(fd.Get(), command + "\n"))
        return std::nullopt;
    std::string answer;
    char buffer[1024];
    while (WaitReadable(fd.Get(), kAnswerTimeoutMs)) {
        ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
        if (n <= 0)
            break;
        answer.append(buffer, static_cast<size_t>(n));
    }
    while (!answer.empty() && answer.back() == '\n')
        answer.pop_back();
    return answer;
}

}  // namespace box
