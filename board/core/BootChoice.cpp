#include "board/core/BootChoice.h"

namespace kz::board {

ComboChoice ChooseComboItem(const std::optional<QString>& reported, std::optional<int> index, int itemCount)
{
    if (index && *index >= 0 && *index < itemCount)
        return {*index, {}};
    if (!reported)
        return {};
    return {-1, *reported};
}

}  // namespace kz::board
