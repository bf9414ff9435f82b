#pragma once
// One line per event on standard error, whole lines even from several threads.

#include <string>

namespace box {

void LogLine(const std::string& text);

}  // namespace box
