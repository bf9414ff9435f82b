#include "LinkConfig.h"

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

namespace box {

namespace {

bool ReadLink(const nlohmann::json& link, LinkConfig& config, std::string& error)
{
    if (!link.is_object()) {
        error = "config: \"link\" must be an object";
        return false;
    }
    if (link.contains("state")) {
        const auto& state = link.at("state");
        std::optional<LinkMode> mode = state.is_string() ? ParseLinkMode(state.get<std::string>()) : std::nullopt;
        if (!mode) {
            error = "config: link.state must be \"online\", \"offline\" or \"unauthorized\"";
            return false;
        }
        config.mode = *mode;
    }
    if (link.contains("plugged")) {
        if (!link.at("plugged").is_boolean()) {
            error = "config: link.plugged must be true or false";
            return false;
        }
        config.plugged = link.at("plugged").get<bool>();
    }
    return true;
}

}  // namespace

std::optional<LinkConfig> ParseLinkConfig(const std::string& jsonText, std::string& error)
{
    nlohmann::json root = nlohmann::json::parse(jsonText, nullptr, false);
    if (root.is_discarded() || !root.is_object()) {
        error = "config: not a JSON object";
        return std::nullopt;
    }
    LinkConfig config;
    if (root.contains("link") && !ReadLink(root.at("link"), config, error))
        return std::nullopt;
    return config;
}

std::optional<LinkConfig> LoadLinkConfig(const std::optional<std::filesystem::path>& file, std::string& error)
{
    if (!file)
        return LinkConfig{};
    std::ifstream in(*file);
    if (!in) {
        error = "config: cannot read " + file->string();
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return ParseLinkConfig(text.str(), error);
}

}  // namespace box
