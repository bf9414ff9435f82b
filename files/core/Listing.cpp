#include "files/core/Listing.h"

#include "device/ServerStartLines.h"
#include "device/ClientErrors.h"

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

QStringView Token(QStringView line, qsizetype from)
{
    qsizetype end = from;
    while (end < line.size() && line[end] != u' ')
        ++end;
    return line.sliced(from, end - from);
}

// The first `n` characters from `from`, fewer where the line ends.
QString Field(QStringView line, qsizetype from, qsizetype n)
{
    return line.sliced(from, qMin(n, line.size() - from)).toString();
}

}  // namespace

bool IsListingLine(QStringView line)
{
    constexpr QStringView types = u"-dlbcps";
    constexpr QStringView letters = u"-rwxsStTl";
    if (line.size() < 10 || !types.contains(line[0]))
        return false;
    for (qsizetype i = 1; i < 10; ++i) {
        if (!letters.contains(line[i]))
            return false;
    }
    return true;
}

FileEntry ParseListingLine(QStringView line)
{
    FileEntry entry;
    QStringView sizeField;
    int runs = 0;
    qsizetype i = 0;
    while (i < line.size()) {
        if (line[i] != u' ') {
            ++i;
            continue;
        }
        ++runs;
        const qsizetype separator = i;
        i = SkipSpaces(line, i);
        if (i >= line.size())
            break;
        if (runs == 3)
            sizeField = Token(line, i);
        else if (runs == 4)
            entry.date = Field(line, i, 16);
        else if (runs == 6) {
            // ls puts one blank before the name: more belong to the name.
            entry.name = line.sliced(separator + 1).toString();
            break;
        }
    }
    entry.size = FormatSize(sizeField);
    entry.bytes = SizeFieldValue(sizeField);
    return entry;
}

namespace {

// A folder's line has no size: the name follows the fifth run of spaces.
QString FolderName(QStringView line)
{
    int runs = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] != u' ')
            continue;
        const qsizetype separator = i;
        i = SkipSpaces(line, i);
        if (++runs == 5)
            return i < line.size() ? line.sliced(separator + 1).toString() : QString();
        --i;
    }
    return {};
}

// Calls take(line) for every listing line up to the first empty line; the
// lines are views into the text, which is copied only when the client's
// server-start lines must come out of it.
template <typename Take>
void ForEachListingLine(const QString& output, Take take)
{
    const QString text = StripServerStartLines(output);
    const QStringView view(text);
    qsizetype start = 0;
    while (start < view.size()) {
        const qsizetype end = view.indexOf(kLineEnd, start);
        if (end <= start)  // no line end left, or an empty line
            break;
        const QStringView line = view.sliced(start, end - start);
        if (IsListingLine(line))
            take(line);
        start = end + kLineEnd.size();
    }
}

// Room for one entry per line: a listing is mostly entries.
qsizetype LineCount(const QString& output)
{
    return QStringView(output).count(u'\n');
}

}  // namespace

QList<FileEntry> ParseListing(const QString& output)
{
    QList<FileEntry> entries;
    entries.reserve(LineCount(output));
    ForEachListingLine(output, [&](QStringView line) {
        if (line[0] != u'd')
            entries.append(ParseListingLine(line));
    });
    return entries;
}

QStringList ListedFolders(const QString& output)
{
    QStringList folders;
    ForEachListingLine(output, [&](QStringView line) {
        if (line[0] == u'd')
            folders.append(FolderName(line));
    });
    return folders;
}

Listing ParseListingAndFolders(const QString& output)
{
    Listing listing;
    listing.entries.reserve(LineCount(output));
    ForEachListingLine(output, [&](QStringView line) {
        if (line[0] == u'd')
            listing.folders.append(FolderName(line));
        else
            listing.entries.append(ParseListingLine(line));
    });
    return listing;
}

quint64 SizeFieldValue(QStringView field)
{
    const bool negative = field.startsWith(u'-');
    quint64 value = 0;
    for (qsizetype i = negative ? 1 : 0; i < field.size() && field[i] >= u'0' && field[i] <= u'9'; ++i) {
        const quint64 digit = quint64(field[i].unicode() - u'0');
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
    // The text of "%20.2f %s" of the size in its unit, made without printf
    // (which was most of a long listing's cost): the unit is a power of two,
    // so the hundredths are found exactly in integers and rounded as
    // QString::asprintf rounds, half away from zero.
    static const char* const kNames[] = {"B", "KB", "MB", "GB"};
    // The size as the double printf was given, as an exact integer.
    const auto x = static_cast<unsigned __int128>(double(SizeFieldValue(field)));
    int unit = 0;
    while (unit < 3 && x >= (unsigned __int128)1 << (10 * (unit + 1)))
        ++unit;
    const int shift = 10 * unit;
    const unsigned __int128 scaled = x * 100;
    unsigned __int128 hundredths = scaled >> shift;
    const unsigned __int128 rest = scaled - (hundredths << shift);
    const unsigned __int128 half = shift == 0 ? 1 : (unsigned __int128)1 << (shift - 1);
    if (shift > 0 && rest >= half)
        ++hundredths;

    // Below 2^64 hundredths in every unit (2^64 bytes are 1.7e12 GB
    // hundredths), where dividing is cheap.
    char digits[24];
    int n = 0;
    for (quint64 v = quint64(hundredths); n < 4 || v != 0; v /= 10) {
        digits[n++] = char('0' + int(v % 10));
        if (n == 2)
            digits[n++] = '.';
    }
    const QLatin1StringView name(kNames[unit]);
    const int width = qMax(n, 20);
    QString text(width + 1 + name.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (int pad = width - n; pad > 0; --pad)
        *out++ = u' ';
    while (n > 0)
        *out++ = QLatin1Char(digits[--n]);
    *out++ = u' ';
    for (char c : name)
        *out++ = QLatin1Char(c);
    return text;
}

QString ListingOtherLines(const QString& output)
{
    QString rest;
    for (const QString& line : StripServerStartLines(output).split(u'\n')) {
        if (!IsListingLine(line) && !line.trimmed().isEmpty())
            rest += line + u'\n';
    }
    return rest;
}

const char* ListingErrorKey(const QString& output)
{
    return ClientErrorMessage(ListingOtherLines(output), PlainNotFound::First);
}

}  // namespace kz::files
