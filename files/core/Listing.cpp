#include "files/core/Listing.h"

#include "app/core/ServerStartLines.h"
#include "app/core/Texts.h"

namespace kz::files {

namespace {

const QString kLineEnd = QStringLiteral("\r\r\n");

// The non-space run that starts at or after `from`.
qsizetype SkipSpaces(QStringView line, qsizetype from)
{
    while (from < line.size() && line[from] == u' ')
        ++from;
    return from;
}

QString Token(QStringView line, qsizetype from)
{
    qsizetype end = from;
    while (end < line.size() && line[end] != u' ')
        ++end;
    return line.sliced(from, end - from).toString();
}

}  // namespace

bool IsListingLine(QStringView line)
{
    static const QString types = QStringLiteral("-dlbcps");
    static const QString letters = QStringLiteral("-rwxsStTl");
    if (line.size() < 10 || !types.contains(line[0]))
        return false;
    for (qsizetype i = 1; i < 10; ++i) {
        if (!letters.contains(line[i]))
            return false;
    }
    return true;
}

FileEntry ParseListingLine(const QString& line)
{
    FileEntry entry;
    QString sizeField;
    int runs = 0;
    qsizetype i = 0;
    while (i < line.size()) {
        if (line[i] != u' ') {
            ++i;
            continue;
        }
        ++runs;
        i = SkipSpaces(line, i);
        if (i >= line.size())
            break;
        if (runs == 3)
            sizeField = Token(line, i);
        else if (runs == 4)
            entry.date = line.mid(i, 16);
        else if (runs == 6) {
            entry.name = line.mid(i);
            break;
        }
    }
    entry.size = FormatSize(sizeField);
    return entry;
}

namespace {

// A folder's line has no size: the name follows the fifth run of spaces.
QString FolderName(const QString& line)
{
    int runs = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] != u' ')
            continue;
        i = SkipSpaces(line, i);
        if (++runs == 5)
            return line.mid(i);
        --i;
    }
    return {};
}

// Calls take(line) for every listing line up to the first empty line.
template <typename Take>
void ForEachListingLine(const QString& output, Take take)
{
    const QString text = StripServerStartLines(output);
    qsizetype start = 0;
    while (start < text.size()) {
        const qsizetype end = text.indexOf(kLineEnd, start);
        if (end <= start)  // no line end left, or an empty line
            break;
        const QString line = text.sliced(start, end - start);
        if (IsListingLine(line))
            take(line);
        start = end + kLineEnd.size();
    }
}

}  // namespace

QList<FileEntry> ParseListing(const QString& output)
{
    QList<FileEntry> entries;
    ForEachListingLine(output, [&](const QString& line) {
        if (line[0] != u'd')
            entries.append(ParseListingLine(line));
    });
    return entries;
}

QStringList ListedFolders(const QString& output)
{
    QStringList folders;
    ForEachListingLine(output, [&](const QString& line) {
        if (line[0] == u'd')
            folders.append(FolderName(line));
    });
    return folders;
}

quint64 SizeFieldValue(QStringView field)
{
    const bool negative = field.startsWith(u'-');
    quint64 value = 0;
    for (qsizetype i = negative ? 1 : 0; i < field.size() && field[i].isDigit(); ++i) {
        const quint64 digit = quint64(field[i].digitValue());
        // A negative field counts modulo 2^32, which wrapping keeps; a
        // positive one with more digits than any storage holds saturates.
        if (!negative && value > (UINT64_MAX - digit) / 10)
            return UINT64_MAX;
        value = value * 10 + digit;
    }
    if (negative)
        return quint32(0u - quint32(value));
    return value;
}

QString FormatSize(QStringView field)
{
    static const struct {
        double limit;
        double unit;
        const char* name;
    } kUnits[] = {{1024.0, 1.0, "B"},
                  {1048576.0, 1024.0, "KB"},
                  {1073741824.0, 1048576.0, "MB"},
                  {0.0, 1073741824.0, "GB"}};
    const double x = double(SizeFieldValue(field));
    for (const auto& u : kUnits) {
        if (u.limit == 0.0 || x < u.limit)
            return QString::asprintf("%20.2f %s", x / u.unit, u.name);
    }
    return {};
}

const char* ListingErrorKey(const QString& output)
{
    QString rest;
    for (const QString& line : StripServerStartLines(output).split(u'\n')) {
        if (!IsListingLine(line))
            rest += line + u'\n';
    }
    if (rest.contains(QLatin1String("not found")))
        return kz::text::NoDeviceFound;
    if (rest.contains(QLatin1String("error: device offline")))
        return kz::text::DeviceTurnedOff;
    if (rest.contains(QLatin1String("error: more than one device and emulator")))
        return kz::text::MultipleDevices;
    return nullptr;
}

}  // namespace kz::files
