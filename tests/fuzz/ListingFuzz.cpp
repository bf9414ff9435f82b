// The box's "ls -l" output, whole and line by line, and its size fields.
#include "files/core/Listing.h"
#include "tests/fuzz/FuzzInput.h"
#include "tests/fuzz/FuzzTarget.h"

#include <QRegularExpression>

namespace {

using namespace kz::files;

bool IsSizeText(const QString& text)
{
    static const QRegularExpression shape(QStringLiteral("\\A *\\d+\\.\\d\\d (B|KB|MB|GB)\\z"));
    return text.size() >= 22 && shape.match(text).hasMatch();
}

// A file named `name` with size field `size`, as the box lists it, must give
// both back unchanged (inner and trailing blanks of the name included).
void CheckOwnLine(const QString& size, const QString& name)
{
    static const QRegularExpression field(QStringLiteral("\\A-?\\d{1,20}\\z"));
    if (!field.match(size).hasMatch() || name.isEmpty() || name.startsWith(u' ') || name.contains(u'\r') ||
        name.contains(u'\n'))
        return;
    const QString line = QStringLiteral("-rw-rw-r-- root     root     %1 2024-05-01 09:30 ").arg(size) + name;
    const QList<FileEntry> entries = ParseListing(line + QStringLiteral("\r\r\n"));
    KZ_FUZZ_CHECK(entries.size() == 1);
    if (entries.size() != 1)
        return;
    KZ_FUZZ_CHECK(entries[0].name == name);
    KZ_FUZZ_CHECK(entries[0].date == QStringLiteral("2024-05-01 09:30"));
    KZ_FUZZ_CHECK(entries[0].size == FormatSize(size));
}

}  // namespace

KZ_FUZZ_TARGET(Listing)
{
    const QString text = kz::fuzz::Text(data, size);
    const QList<FileEntry> entries = ParseListing(text);
    const QStringList folders = ListedFolders(text);
    const qsizetype lines = text.count(QStringLiteral("\r\r\n"));
    KZ_FUZZ_CHECK(entries.size() + folders.size() <= lines);
    // The file manager's one-pass parse sees what the two separate ones see.
    const Listing both = ParseListingAndFolders(text);
    KZ_FUZZ_CHECK(both.folders == folders && both.entries.size() == entries.size());
    for (qsizetype i = 0; i < entries.size() && i < both.entries.size(); ++i)
        KZ_FUZZ_CHECK(both.entries[i].name == entries[i].name && both.entries[i].date == entries[i].date &&
                      both.entries[i].size == entries[i].size);
    for (const FileEntry& entry : entries) {
        KZ_FUZZ_CHECK(entry.date.size() <= 16);
        KZ_FUZZ_CHECK(!entry.name.contains(QStringLiteral("\r\r\n")));
        KZ_FUZZ_CHECK(IsSizeText(entry.size));
    }
    ListingErrorKey(text);

    // The same text as one line, and its first word as a size field.
    const FileEntry line = ParseListingLine(text);
    KZ_FUZZ_CHECK(line.date.size() <= 16 && IsSizeText(line.size));
    const QString field = text.section(u' ', 0, 0);
    const quint64 value = SizeFieldValue(field);
    if (field.startsWith(u'-'))
        KZ_FUZZ_CHECK(value <= 0xffffffffu);
    KZ_FUZZ_CHECK(IsSizeText(FormatSize(field)));
    if (value < (quint64(1) << 53) && !field.startsWith(u'-'))
        KZ_FUZZ_CHECK(SizeFieldValue(QString::number(value)) == value);

    const QList<QByteArray> parts = kz::fuzz::Fields(data, size, 2);
    CheckOwnLine(QString::fromUtf8(parts[0]), QString::fromUtf8(parts[1]));
}
