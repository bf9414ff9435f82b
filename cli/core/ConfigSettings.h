#pragma once
// The config command's options as the board dialog's boot settings: each
// value is the item the dialog's combo would have selected for it.

#include <QString>
#include <vector>

#include "board/core/BoardCommands.h"
#include "cli/core/ParseArgs.h"

namespace kz::cli {

struct ConfigSetting {
    kz::board::BootSetting setting;
    int index;       // the combo item
    QString option;  // "--ack"
    QString value;   // "on"
};

// In the dialog's order: partition, acknowledge, mode, bus width.  Only the
// settings given; values were checked against the choices by the parser.
std::vector<ConfigSetting> ConfigSettings(const CliRequest& request);

}  // namespace kz::cli
