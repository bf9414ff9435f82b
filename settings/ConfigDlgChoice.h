#pragma once
// The languages the settings dialog offers, in the order of its combo box.
// Each item stores its language name as the setting and shows the name's
// localised text.

#include <QString>
#include <array>

namespace kz {

struct LanguageItem {
    const char* name;      // the item's name in the skin
    const char* language;  // stored setting and lookup key
};

inline constexpr std::array<LanguageItem, 3> kLanguageItems{{
    {"cmb_item1", "Chinese simplified"},
    {"cmb_item2", "Chinese traditional"},
    {"cmb_item3", "English"},
}};

// Index of the item whose language equals `language` exactly (case matters:
// the setting is stored as written), or -1 when none does.
int LanguageItemIndex(const QString& language);

// What the OK of the settings dialog amounts to.  The running program shows
// `running` until it restarts; `stored` is the choice its next start reads.
enum class LanguageChange {
    None,            // the language in use, stored already: nothing to store or say
    StoreQuietly,    // the language in use after another was stored: undo that, no restart needed
    StoreAndOffer,   // another language: store it and offer the restart
};
LanguageChange JudgeLanguageChoice(const QString& running, const QString& stored, const QString& chosen);

}  // namespace kz
