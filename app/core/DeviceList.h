#pragma once
// Judgement of the client's answer to "devices" and of the box's product model.

#include <QString>

namespace kz {

struct DeviceListVerdict {
    enum Kind {
        NoAnswer,     // empty output, no header or nothing listed: leave the state as it is
        Offline,      // a listed device is offline (wins over any online one)
        Online        // `onlineCount` devices are in the "device" state (may be 0)
    };
    Kind kind = NoAnswer;
    int onlineCount = 0;
    QString serial;  // of the online device when it is the only one
};

DeviceListVerdict JudgeDeviceList(const QString& output);

// Number of "<serial>\tdevice\r\n" lines in `text`.  A line without a serial or
// ending in a bare line feed does not count.
int CountOnlineDevices(const QString& text);

// The answer to "shell getprop ro.product.model" names our box.
bool IsBoxModel(const QString& output);

}  // namespace kz
