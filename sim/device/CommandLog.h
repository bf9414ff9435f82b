#pragma once
// The shell's record of what it was asked to run: one command line per line
// of <state>/shell-commands.log, appended before the line runs, so that tests
// can show that nothing but the program's own commands reached the shell.
//
// A line break, a carriage return, any other control character and the
// backslash are written as escapes (\n, \r, \xHH, \\), so a command with a
// line break inside stays one entry and the file decodes unambiguously.

#include <filesystem>
#include <string>

namespace box::dev {

class CommandLog {
public:
    explicit CommandLog(const std::filesystem::path& stateDir);
    ~CommandLog();
    CommandLog(const CommandLog&) = delete;
    CommandLog& operator=(const CommandLog&) = delete;

    // One write(2) per entry on an O_APPEND file: entries of concurrent
    // shells never interleave, and each is on disk when the call returns.
    void Append(const std::string& commandLine);

private:
    int fd_ = -1;
};

// The command line as one log line, without the line feed.
std::string EscapeLogLine(const std::string& commandLine);

}  // namespace box::dev
