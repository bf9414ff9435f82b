#include "support/Process.h"

#include <array>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <sstream>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kz::test {

uint16_t FreeTcpPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    const bool ok = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0
                    && ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0;
    ::close(fd);
    if (!ok)
        throw std::runtime_error("no free local port");
    return ntohs(address.sin_port);
}

std::string ShellQuote(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

namespace {

std::string TakeFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    in.close();
    std::filesystem::remove(path);
    return text.str();
}

}  // namespace

CommandResult RunCommand(const std::string& commandLine, int timeoutSeconds, std::string* standardError)
{
    static std::atomic<int> runs{0};
    const std::filesystem::path errFile = std::filesystem::temp_directory_path()
                                          / ("kz-test-err-" + std::to_string(::getpid()) + "-" + std::to_string(++runs));
    const std::string errTo = standardError ? "2>" + ShellQuote(errFile.string()) : std::string("2>&1");
    const std::string line = "timeout " + std::to_string(timeoutSeconds) + " " + commandLine + " " + errTo + " </dev/null";
    CommandResult result;
    FILE* pipe = ::popen(line.c_str(), "r");
    if (!pipe)
        return result;
    std::array<char, 4096> buffer;
    for (size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
        result.output.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (standardError)
        *standardError = TakeFile(errFile);
    return result;
}

}  // namespace kz::test
