#pragma once
// The owner of a list produces the text of each cell on demand; the list
// keeps no text of its own.

#include <QString>

namespace kz::ui {

class IListCallbackUI {
public:
    virtual ~IListCallbackUI() = default;
    virtual QString GetItemText(int row, int column) = 0;
};

}  // namespace kz::ui
