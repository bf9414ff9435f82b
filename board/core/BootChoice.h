#pragma once
// What a boot-setting combo of the board dialog shows for the chip's report.
// A value the combo does not list must not be shown as one it does: Modify
// would then send a value the operator neither saw nor chose.

#include <QString>
#include <optional>

namespace kz::board {

struct ComboChoice {
    // The item to select, -1 for none; nullopt leaves the combo as it is
    // (the report named no value for it).
    std::optional<int> select;
    // The chip's words when no item of the combo stands for them.
    QString unlisted;
};

// `reported`: the chip's words for the setting; `index`: the item they name,
// if any; `itemCount`: the items the combo has.
ComboChoice ChooseComboItem(const std::optional<QString>& reported, std::optional<int> index, int itemCount);

}  // namespace kz::board
