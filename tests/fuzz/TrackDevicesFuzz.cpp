// adb's track-devices stream as it comes through the pipe: the first byte
// says where one read ends and the next begins.
#include "link/TrackDevices.h"
#include "tests/fuzz/FuzzInput.h"
#include "tests/fuzz/FuzzTarget.h"

namespace {

void CheckList(const kz::TrackedList& list)
{
    for (const kz::TrackedDevice& device : list) {
        KZ_FUZZ_CHECK(!device.serial.isEmpty());
        KZ_FUZZ_CHECK(!device.serial.contains(u'\n') && !device.serial.contains(u'\t'));
        KZ_FUZZ_CHECK(!device.state.contains(u'\n'));
    }
}

}  // namespace

KZ_FUZZ_TARGET(TrackDevices)
{
    if (size == 0)
        return;
    const QByteArray stream = kz::fuzz::Bytes(data + 1, size - 1);
    const qsizetype cut = stream.isEmpty() ? 0 : data[0] % (stream.size() + 1);

    kz::TrackFrameReader whole;
    const QList<kz::TrackedList> lists = whole.Feed(stream);
    KZ_FUZZ_CHECK(lists.size() <= stream.size() / 4);
    for (const kz::TrackedList& list : lists) {
        CheckList(list);
        KZ_FUZZ_CHECK(kz::CompareTracked(list, list) == kz::TrackedChange{});
    }
    for (qsizetype i = 1; i < lists.size(); ++i) {
        const kz::TrackedChange forth = kz::CompareTracked(lists[i - 1], lists[i]);
        const kz::TrackedChange back = kz::CompareTracked(lists[i], lists[i - 1]);
        KZ_FUZZ_CHECK(forth.lost == back.gained && forth.gained == back.lost);
    }

    // How the pipe cuts the stream into reads changes nothing.
    kz::TrackFrameReader pieces;
    QList<kz::TrackedList> pieceLists = pieces.Feed(stream.left(cut));
    pieceLists += pieces.Feed(stream.mid(cut));
    KZ_FUZZ_CHECK(pieceLists == lists);
}
