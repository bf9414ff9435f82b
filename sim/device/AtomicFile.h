#pragma once
// Small state files are replaced whole, so a crash never leaves half a file.

#include <filesystem>
#include <string>

namespace box::dev {

bool WriteFileAtomically(const std::filesystem::path& file, const std::string& content);

}  // namespace box::dev
