#include "settings/IniParse.h"

// Only the byte-string flavour is used: the files are UTF-8 and the texts are
// converted by Qt, so no conversion library is needed.  Debian's header keeps
// the template bodies behind SI_IMPLEMENTATION; compiling them here spares the
// shared library and its ICU dependencies.
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

#include <algorithm>

namespace kz {

QString IniLookup(const QByteArray& data, const QString& section, const QString& key)
{
    if (section.isEmpty() || key.isEmpty() || data.isEmpty())
        return {};
    // CSimpleIniA matches names without regard to case.  Multi-key mode keeps
    // duplicates so that the first one in the file wins, as the profile
    // functions of the original platform do.
    CSimpleIniA ini(/*utf8*/ true, /*multiKey*/ true, /*multiLine*/ false);
    if (ini.LoadData(data.constData(), size_t(data.size())) < 0)
        return {};
    CSimpleIniA::TNamesDepend values;
    const QByteArray s = section.toUtf8();
    const QByteArray k = key.toUtf8();
    if (!ini.GetAllValues(s.constData(), k.constData(), values) || values.empty())
        return {};
    const auto first = std::min_element(values.begin(), values.end(),
                                        [](const auto& a, const auto& b) { return a.nOrder < b.nOrder; });
    return QString::fromUtf8(first->pItem);
}

}  // namespace kz
