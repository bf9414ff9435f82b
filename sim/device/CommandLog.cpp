#include "CommandLog.h"

#include <fcntl.h>
#include <unistd.h>

namespace box::dev {

std::string EscapeLogLine(const std::string& commandLine)
{
    static const char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(commandLine.size() + 8);
    for (const char c : commandLine) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (u < 0x20 || u == 0x7f)
            out += std::string("\\x") + kHex[u >> 4] + kHex[u & 15];
        else
            out += c;
    }
    return out;
}

CommandLog::CommandLog(const std::filesystem::path& stateDir)
    : fd_(::open((stateDir / "shell-commands.log").c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644))
{
}

CommandLog::~CommandLog()
{
    if (fd_ >= 0)
        ::close(fd_);
}

// A log that cannot be written must not stop the box from answering.
void CommandLog::Append(const std::string& commandLine)
{
    if (fd_ < 0)
        return;
    const std::string entry = EscapeLogLine(commandLine) + '\n';
    size_t done = 0;
    while (done < entry.size()) {
        const ssize_t n = ::write(fd_, entry.data() + done, entry.size() - done);
        if (n <= 0)
            return;
        done += static_cast<size_t>(n);
    }
}

}  // namespace box::dev
