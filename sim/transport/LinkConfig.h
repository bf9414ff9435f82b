#pragma once
// The "link" object of the box's JSON config file; the other keys belong to
// the device side.
//   "link": { "state": "online" | "offline" | "unauthorized", "plugged": true }

#include "LinkState.h"

#include <filesystem>
#include <optional>
#include <string>

namespace box {

struct LinkConfig {
    LinkMode mode = LinkMode::Online;
    bool plugged = true;
};

std::optional<LinkConfig> ParseLinkConfig(const std::string& jsonText, std::string& error);

// No file gives the defaults; an unreadable or malformed one is an error.
std::optional<LinkConfig> LoadLinkConfig(const std::optional<std::filesystem::path>& file, std::string& error);

}  // namespace box
