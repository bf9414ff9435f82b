#pragma once
// Judgement of the client's answer to "devices" and of the box's product model.

#include <QString>
#include <optional>

#include "link/LinkState.h"
#include "link/TrackDevices.h"

namespace kz {

struct DeviceListVerdict {
    enum Kind {
        NoAnswer,    // empty output or no header: leave the state as it is
        AdbMissing,  // the adapter found no adb client
        Empty,       // the header and nothing listed
        Offline,     // a listed device is offline (wins over any online one)
        Online       // `onlineCount` devices are in the "device" state (may be 0)
    };
    Kind kind = NoAnswer;
    int onlineCount = 0;
    QString serial;  // of the online device when it is the only one
    // The state the state line names: "device" when one is online, else the
    // state of the first device listed.
    LinkState state = LinkState::None;
    QString stateWords;  // adb's words for it
};

DeviceListVerdict JudgeDeviceList(const QString& output);

// Every device line after the list's header, in order: "SERIAL<TAB>STATE"
// as "devices" prints it, or the serial, blanks, the state and adb's
// "key:value" details as "devices -l" prints it.  Nothing when the header is
// missing (adb did not answer).
std::optional<TrackedList> ParseDevicesList(const QString& output);

// Number of "<serial>\tdevice\r\n" lines in `text`.  A line without a serial or
// ending in a bare line feed does not count.
int CountOnlineDevices(const QString& text);

// The answer to "shell getprop ro.product.model" names our box.
bool IsBoxModel(const QString& output);

}  // namespace kz
