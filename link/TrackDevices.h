#pragma once
// adb's running device list ("track-devices"): the server sends the whole list
// again on every change, each time as a 4-hex-digit length and that many bytes
// of "SERIAL\tSTATE\n" lines.  The frames reach us through a pipe, so a read
// may hold part of a frame or several of them.

#include <QByteArray>
#include <QList>
#include <QString>
#include <utility>

namespace kz {

struct TrackedDevice {
    QString serial;
    QString state;  // "device", "offline", "unauthorized", ...
    bool operator==(const TrackedDevice&) const = default;
};
using TrackedList = QList<TrackedDevice>;

class TrackFrameReader {
public:
    // The lists completed by `bytes`, oldest first.  Text that is no frame
    // (a server notice, a cut-off stream) is skipped up to the next line.
    QList<TrackedList> Feed(const QByteArray& bytes);
    // The text skipped since the last call (adb's own messages among them).
    QByteArray TakeSkipped() { return std::exchange(m_skipped, {}); }

private:
    QByteArray m_pending;
    QByteArray m_skipped;
};

// What a new list means for the box compared with the one before.
struct TrackedChange {
    bool lost = false;    // a device that was usable is gone or no longer "device"
    bool gained = false;  // a device is usable that was not before
    bool changed = false;  // any device came, went or changed its state
    bool operator==(const TrackedChange&) const = default;
};

TrackedChange CompareTracked(const TrackedList& before, const TrackedList& after);

// The first list has nothing before it: it is judged against what the
// program believes, since the box may have gone before the list arrived.
TrackedChange FirstTracked(const TrackedList& list, bool boxConnected);

}  // namespace kz
