#include "link/TrackDevices.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace kz {

namespace {

constexpr int kLengthDigits = 4;
// A real list is a few dozen bytes per device; a "length" beyond this is text
// that happens to start with hex digits.
constexpr int kMaxPayload = 0x2000;

std::optional<int> ReadLength(const QByteArray& head)
{
    bool ok = false;
    const int length = head.left(kLengthDigits).toInt(&ok, 16);
    const bool digitsOnly = std::all_of(head.begin(), head.begin() + kLengthDigits,
                                        [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
    if (!ok || !digitsOnly || length > kMaxPayload)
        return std::nullopt;
    return length;
}

std::optional<TrackedList> ParsePayload(const QByteArray& payload)
{
    TrackedList list;
    if (payload.isEmpty())
        return list;
    if (!payload.endsWith('\n'))
        return std::nullopt;
    for (const QByteArray& line : payload.chopped(1).split('\n')) {
        const qsizetype tab = line.indexOf('\t');
        if (tab < 1 || tab == line.size() - 1)
            return std::nullopt;
        list.append({QString::fromUtf8(line.left(tab)), QString::fromUtf8(line.mid(tab + 1)).trimmed()});
    }
    return list;
}

bool AnyUsable(const TrackedList& list)
{
    return std::any_of(list.begin(), list.end(), [](const TrackedDevice& d) { return d.state == QLatin1String("device"); });
}

bool Usable(const TrackedList& list, const QString& serial)
{
    return std::any_of(list.begin(), list.end(), [&](const TrackedDevice& d) {
        return d.serial == serial && d.state == QLatin1String("device");
    });
}

bool AnyUsableMissingFrom(const TrackedList& from, const TrackedList& in)
{
    return std::any_of(from.begin(), from.end(), [&](const TrackedDevice& d) {
        return d.state == QLatin1String("device") && !Usable(in, d.serial);
    });
}

}  // namespace

QList<TrackedList> TrackFrameReader::Feed(const QByteArray& bytes)
{
    m_pending.append(bytes);
    QList<TrackedList> lists;
    while (m_pending.size() >= kLengthDigits) {
        const std::optional<int> length = ReadLength(m_pending);
        if (length && m_pending.size() < kLengthDigits + *length)
            break;  // the rest of the frame is still on its way
        const std::optional<TrackedList> list =
            length ? ParsePayload(m_pending.mid(kLengthDigits, *length)) : std::nullopt;
        if (list) {
            lists.append(*list);
            m_pending.remove(0, kLengthDigits + *length);
            continue;
        }
        // Skipping stops at the line's end even when a read cut the line: its
        // rest is no frame either.  A line longer than any frame is dropped.
        const qsizetype lineEnd = m_pending.indexOf('\n');
        if (lineEnd < 0 && m_pending.size() <= kLengthDigits + kMaxPayload)
            break;
        const qsizetype skip = lineEnd < 0 ? m_pending.size() : lineEnd + 1;
        m_skipped.append(m_pending.left(skip));
        m_pending.remove(0, skip);
    }
    return lists;
}

TrackedChange CompareTracked(const TrackedList& before, const TrackedList& after)
{
    return {AnyUsableMissingFrom(before, after), AnyUsableMissingFrom(after, before), before != after};
}

TrackedChange FirstTracked(const TrackedList& list, bool boxConnected)
{
    const bool usable = AnyUsable(list);
    return {boxConnected && !usable, usable, !list.isEmpty()};
}

}  // namespace kz
