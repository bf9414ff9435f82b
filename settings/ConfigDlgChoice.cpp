#include "settings/ConfigDlgChoice.h"

namespace kz {

int LanguageItemIndex(const QString& language)
{
    for (std::size_t i = 0; i < kLanguageItemData.size(); ++i)
        if (language == QLatin1String(kLanguageItemData[i]))
            return int(i);
    return -1;
}

}  // namespace kz
