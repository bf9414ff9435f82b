#include "cli/core/ConfigSettings.h"

namespace kz::cli {

namespace {

using kz::board::BootSetting;

struct SettingRow {
    const char* option;
    BootSetting setting;
    // The choices in item order; "user" is the standard's value 7, which no
    // combo item has.
    std::vector<std::pair<const char*, int>> items;
};

const std::vector<SettingRow> kRows = {
    {"--boot-partition", BootSetting::PartitionEnable, {{"none", 0}, {"1", 1}, {"2", 2}, {"user", 7}}},
    {"--ack", BootSetting::Ack, {{"on", 0}, {"off", 1}}},
    {"--mode", BootSetting::Mode, {{"backward-compatible", 0}, {"high-speed", 1}}},
    {"--bus-width", BootSetting::BusWidth, {{"1", 0}, {"4", 1}, {"8", 2}}},
};

}  // namespace

std::vector<ConfigSetting> ConfigSettings(const CliRequest& request)
{
    std::vector<ConfigSetting> settings;
    for (const SettingRow& row : kRows) {
        if (!request.Has(row.option))
            continue;
        const QString value = request.Value(row.option);
        for (const auto& [word, index] : row.items) {
            if (value == QLatin1String(word))
                settings.push_back({row.setting, index, QLatin1String(row.option), value});
        }
    }
    return settings;
}

}  // namespace kz::cli
