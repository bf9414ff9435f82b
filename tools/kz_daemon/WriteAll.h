#pragma once

#include <string_view>

namespace kz::adapter {

// Writes everything, waiting when the descriptor is non-blocking and full.
// False once the reader is gone or the write fails.
bool WriteAll(int fd, std::string_view data);

}  // namespace kz::adapter
