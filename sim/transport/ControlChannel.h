#pragma once
// Scenario commands reach a running box through a Unix socket in its state
// directory: one line in, one line of answer back.

#include <filesystem>
#include <optional>
#include <string>

namespace box {

std::filesystem::path ControlSocketPath(const std::filesystem::path& stateDir);

// Reads one command line (up to a line feed or the end of input) within a
// second; false when none came.
bool ReadControlLine(int fd, std::string& line);

// Sends one command to the box and returns its answer without the line feed;
// nothing when no box listens there.
std::optional<std::string> SendControl(const std::filesystem::path& socketPath, const std::string& command);

}  // namespace box
