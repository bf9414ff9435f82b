#include "LinkState.h"

namespace box {

std::optional<LinkMode> ParseLinkMode(const std::string& text)
{
    if (text == "online")
        return LinkMode::Online;
    if (text == "offline")
        return LinkMode::Offline;
    if (text == "unauthorized")
        return LinkMode::Unauthorized;
    return std::nullopt;
}

std::string LinkModeName(LinkMode mode)
{
    switch (mode) {
    case LinkMode::Online: return "online";
    case LinkMode::Offline: return "offline";
    case LinkMode::Unauthorized: return "unauthorized";
    }
    return "online";
}

}  // namespace box
