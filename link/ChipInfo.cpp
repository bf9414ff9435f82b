#include "link/ChipInfo.h"

namespace kz {

namespace {

const QString kPartitionLabel = QStringLiteral("Partition #");

qsizetype EndOfLine(const QString& t, qsizetype from)
{
    const qsizetype end = t.indexOf(u'\n', from);
    return end < 0 ? t.size() : end;
}

// "#12" for "Partition #12": every digit counts, so partitions past the
// ninth keep their own number.
QString PartitionNumber(const QString& t, qsizetype at, qsizetype lineEnd)
{
    qsizetype end = at;
    while (end < lineEnd && t[end].isDigit())
        ++end;
    if (end == at && at < lineEnd && t[at] != u'\r')
        end = at + 1;
    return u'#' + t.mid(at, end - at);
}

// The text between the last "(" and the last ")" of [from, to).
QString PartitionName(const QString& t, qsizetype from, qsizetype to)
{
    const qsizetype open = t.lastIndexOf(u'(', to - 1);
    const qsizetype close = t.lastIndexOf(u')', to - 1);
    if (open < from || close < from || close < open)
        return {};
    return t.mid(open + 1, close - open - 1);
}

// Reads one "Partition #N (NAME): SIZE (BYTES)" entry at the front of t and
// cuts t behind what it used.  False when the entry has no colon on its line.
bool TakePartition(QString& t, qsizetype p, PartitionRow& row)
{
    const qsizetype lineEnd = EndOfLine(t, p);
    row[0] = PartitionNumber(t, p + kPartitionLabel.size(), lineEnd);
    const qsizetype colon = t.indexOf(u':', p);
    if (colon < 0 || colon > lineEnd)
        return false;
    row[1] = PartitionName(t, p, colon);
    t.remove(0, colon + 1);
    qsizetype start = 0;
    while (start < t.size() && t[start] == u' ')
        ++start;
    const qsizetype close = t.indexOf(u')', start);
    if (close < 0 || close > EndOfLine(t, start)) {
        row[2] = QStringLiteral("0");
        return true;
    }
    row[2] = t.mid(start, close - start + 1);
    t.remove(0, close);
    return true;
}

void TakePartitions(QString& t, std::vector<PartitionRow>& rows)
{
    while (rows.size() < size_t(kMaxPartitionRows)) {
        const qsizetype p = t.indexOf(kPartitionLabel);
        PartitionRow row;
        if (p < 0 || !TakePartition(t, p, row))
            return;
        rows.push_back(row);
    }
}

// The last blank-separated word of the line before `label`, with its
// leading blank, when both labels occur.
std::optional<QString> WordBefore(const QString& t, const QString& required, const QString& label)
{
    const qsizetype at = t.indexOf(label);
    if (!t.contains(required) || at < 0)
        return std::nullopt;
    qsizetype blank = at;
    while (blank > 0 && t[blank] != u' ')
        --blank;
    const qsizetype end = t.indexOf(u'\n', blank);
    return t.mid(blank, end < 0 ? -1 : end - blank);
}

// Cuts t at `label` and gives the text after the next "==>" up to its line feed.
std::optional<QString> BootValue(QString& t, const QString& label)
{
    const qsizetype at = t.indexOf(label);
    if (at < 0)
        return std::nullopt;
    t.remove(0, at);
    const qsizetype marker = t.indexOf(QStringLiteral("==>"));
    if (marker < 0)
        return std::nullopt;
    const qsizetype end = t.indexOf(u'\n', marker);
    return t.mid(marker + 3, end < 0 ? -1 : end - marker - 3);
}

// The line's carriage returns and blanks are not part of the value.
std::optional<QString> Trimmed(const std::optional<QString>& value)
{
    return value ? std::optional<QString>(value->trimmed()) : std::nullopt;
}

// Index of the first text found in value (first match wins).
std::optional<int> FirstMatch(const std::optional<QString>& value, std::initializer_list<const char*> texts)
{
    if (!value)
        return std::nullopt;
    int index = 0;
    for (const char* text : texts) {
        if (value->contains(QLatin1String(text)))
            return index;
        ++index;
    }
    return std::nullopt;
}

// Index of the last text found in value (each tested on its own).
std::optional<int> LastMatch(const std::optional<QString>& value, std::initializer_list<const char*> texts)
{
    std::optional<int> found;
    int index = 0;
    for (const char* text : texts) {
        if (value && value->contains(QLatin1String(text)))
            found = index;
        ++index;
    }
    return found;
}

}  // namespace

QString ManufacturerName(const QString& idText)
{
    if (idText.contains(QLatin1String("0x15")))
        return QStringLiteral("Samsung");
    if (idText.contains(QLatin1String("0x45")))
        return QStringLiteral("SanDisk");
    return QStringLiteral("unknown");
}

ChipInfo ParseChipInfo(QString t)
{
    ChipInfo info;
    TakePartitions(t, info.partitions);
    if (auto id = WordBefore(t, QStringLiteral("Manufacturer ID"), QStringLiteral("Card/BGA")))
        info.manufacturer = ManufacturerName(*id);
    info.productName = WordBefore(t, QStringLiteral("Product name"), QStringLiteral("Product revision"));
    ChipInfo::Reported& said = info.reported;
    said.partitionEnable = Trimmed(BootValue(t, QStringLiteral("Boot Partition Enable:")));
    said.ack = Trimmed(BootValue(t, QStringLiteral("ACK:")));
    said.bootMode = Trimmed(BootValue(t, QStringLiteral("Boot mode:")));
    said.busWidth = Trimmed(BootValue(t, QStringLiteral("Bus width:")));
    info.partitionEnable = FirstMatch(said.partitionEnable, {"None", "Boot partition 1", "Boot partition 2"});
    info.ack = FirstMatch(said.ack, {"On", "Off"});
    info.bootMode = FirstMatch(said.bootMode, {"single,backward compatible", "single,high speed"});
    info.busWidth = LastMatch(said.busWidth, {"x1 (sdr)", "x4 (sdr)", "x8 (sdr)"});
    return info;
}

}  // namespace kz
