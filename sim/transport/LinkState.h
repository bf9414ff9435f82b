#pragma once
// How the box answers a host connection.

#include <optional>
#include <string>

namespace box {

enum class LinkMode {
    Online,        // answers CNXN: the host lists it as "device"
    Offline,       // accepts the connection and never answers
    Unauthorized,  // answers with an AUTH token and never accepts a key
};

std::optional<LinkMode> ParseLinkMode(const std::string& text);
std::string LinkModeName(LinkMode mode);

}  // namespace box
