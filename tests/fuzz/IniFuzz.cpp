// Settings and language files as the user may have edited them.  Fields
// (NUL-separated): section, key, value, then the file's bytes.
#include "settings/IniParse.h"
#include "tests/fuzz/FuzzInput.h"
#include "tests/fuzz/FuzzTarget.h"

namespace {

// The reader's trimming: blanks and tabs, nothing beyond ASCII.
QString TrimBlanks(QString text)
{
    while (text.startsWith(u' ') || text.startsWith(u'\t'))
        text.remove(0, 1);
    while (text.endsWith(u' ') || text.endsWith(u'\t'))
        text.chop(1);
    return text;
}

}  // namespace

KZ_FUZZ_TARGET(Ini)
{
    const QList<QByteArray> f = kz::fuzz::Fields(data, size, 4);
    const QString section = QString::fromUtf8(f[0]);
    const QString key = QString::fromUtf8(f[1]);
    const QString value = QString::fromUtf8(f[2]);
    const QByteArray& file = f[3];

    KZ_FUZZ_CHECK(kz::IniLookup(file, section, key).size() <= file.size());
    const std::optional<QByteArray> written = kz::IniWithValue(file, section, key, value);
    // Qt's UTF-8 decoding drops a leading byte-order mark, so such a value
    // cannot read back through any QString.
    if (!written || TrimBlanks(value).startsWith(QChar(0xFEFF)))
        return;
    // A value that was written reads back (the reader drops surrounding
    // blanks), and writing it again changes nothing.
    KZ_FUZZ_CHECK(kz::IniLookup(*written, section, key) == TrimBlanks(value));
    KZ_FUZZ_CHECK(kz::IniWithValue(*written, section, key, value) == written);
}
