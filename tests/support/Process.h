#pragma once
// Shell commands and ports for tests that run other programs.

#include <cstdint>
#include <string>

namespace kz::test {

// A loopback TCP port nobody listens on now (throws when none is found).
uint16_t FreeTcpPort();

struct CommandResult {
    std::string output;  // standard output, and standard error unless kept apart
    int exitCode = -1;
};

// `text` as one word of a shell command line.
std::string ShellQuote(const std::string& text);

// Runs a shell command line with a time limit and no input.  Standard error
// goes to *standardError when given, else it is merged into the output.
CommandResult RunCommand(const std::string& commandLine, int timeoutSeconds = 30,
                         std::string* standardError = nullptr);

}  // namespace kz::test
