#include "settings/ConfigDlgChoice.h"

namespace kz {

int LanguageItemIndex(const QString& language)
{
    for (std::size_t i = 0; i < kLanguageItems.size(); ++i)
        if (language == QLatin1String(kLanguageItems[i].language))
            return int(i);
    return -1;
}

LanguageChange JudgeLanguageChoice(const QString& running, const QString& stored, const QString& chosen)
{
    if (chosen != running)
        return LanguageChange::StoreAndOffer;
    return stored == chosen ? LanguageChange::None : LanguageChange::StoreQuietly;
}

}  // namespace kz
