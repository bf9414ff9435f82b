#include "SimConfig.h"

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <vector>

namespace box::dev {
namespace {

using nlohmann::json;

template <typename T>
void Take(const json& obj, const char* key, T& target)
{
    if (obj.contains(key))
        target = obj.at(key).get<T>();
}

void TakeChip(const json& chip, SimConfig& config)
{
    Take(chip, "boot1Bytes", config.boot1Bytes);
    Take(chip, "boot2Bytes", config.boot2Bytes);
    Take(chip, "userBytes", config.userBytes);
    Take(chip, "manufacturerId", config.identity.manufacturerId);
    Take(chip, "cardType", config.identity.cardType);
    Take(chip, "productName", config.identity.productName);
    Take(chip, "productRevision", config.identity.productRevision);
    Take(chip, "inserted", config.chipInserted);
}

bool TakeDfUnits(const std::string& units, std::string& error)
{
    if (units != "K" && units != "human")
        error = "config: dfUnits must be \"K\" or \"human\"";
    return units == "human";
}

void TakeMissingApplets(const json& list, SimConfig& config, std::string& error)
{
    for (const std::string& name : list.get<std::vector<std::string>>()) {
        if (!IsKnownApplet(name))
            error = "config: missingApplets takes \"cp\", \"md5sum\" and \"truncate\", not \"" + name + "\"";
        config.missingApplets.insert(name);
    }
}

bool Check(const SimConfig& c, std::string& error)
{
    if (c.boot1Bytes == 0 || c.boot2Bytes == 0 || c.userBytes == 0)
        error = "chip sizes must be positive";
    else if (c.rebootDelayMs < 0 || c.readUserMs < 0 || c.mtkMs < 0)
        error = "durations must not be negative";
    else if (c.identity.productName.empty() || c.identity.productName.find(' ') != std::string::npos)
        error = "chip.productName must be one word";
    else if (c.identity.cardType != "Card" && c.identity.cardType != "BGA")
        error = "chip.cardType must be \"Card\" or \"BGA\"";
    return error.empty();
}

}  // namespace

bool IsKnownApplet(const std::string& name)
{
    return name == "cp" || name == "md5sum" || name == "truncate";
}

std::optional<SimConfig> ParseSimConfig(const std::string& text, std::string& error)
{
    SimConfig config;
    try {
        const json root = json::parse(text);
        if (!root.is_object()) {
            error = "config: the top level must be an object";
            return std::nullopt;
        }
        if (root.contains("chip"))
            TakeChip(root.at("chip"), config);
        if (root.contains("udisk")) {
            Take(root.at("udisk"), "inserted", config.udiskInserted);
            Take(root.at("udisk"), "capacityBytes", config.udiskCapacity);
        }
        Take(root, "sdcardCapacityBytes", config.sdcardCapacity);
        Take(root, "rebootDelayMs", config.rebootDelayMs);
        Take(root, "speed", config.speed);
        Take(root, "readUserMs", config.readUserMs);
        Take(root, "mtkMs", config.mtkMs);
        if (root.contains("dfUnits"))
            config.dfHumanUnits = TakeDfUnits(root.at("dfUnits").get<std::string>(), error);
        if (root.contains("missingApplets"))
            TakeMissingApplets(root.at("missingApplets"), config, error);
        if (!error.empty())
            return std::nullopt;
    } catch (const json::exception& e) {
        error = std::string("config: ") + e.what();
        return std::nullopt;
    }
    if (!Check(config, error)) {
        error = "config: " + error;
        return std::nullopt;
    }
    return config;
}

std::optional<SimConfig> LoadSimConfig(const std::optional<std::filesystem::path>& file, std::string& error)
{
    if (!file)
        return SimConfig{};
    std::ifstream in(*file, std::ios::binary);
    if (!in) {
        error = "config: cannot read " + file->string();
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return ParseSimConfig(text.str(), error);
}

}  // namespace box::dev
