#pragma once
// The languages the settings dialog offers, in the order of its combo box.
// Each item stores its name as the language setting and shows the name's
// localised text.

#include <QString>
#include <array>

namespace kz {

inline constexpr std::array<const char*, 3> kLanguageItemNames{"cmb_item1", "cmb_item2", "cmb_item3"};
inline constexpr std::array<const char*, 3> kLanguageItemData{"Chinese simplified", "Chinese traditional",
                                                              "English"};

// Index of the item whose name equals `language` exactly (case matters: the
// setting is stored as written), or -1 when none does.
int LanguageItemIndex(const QString& language);

}  // namespace kz
