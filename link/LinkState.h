#pragma once
// The state adb gives a listed device, named on the main window's state line,
// and what the operator can do about it.

#include <QString>

namespace kz {

enum class LinkState {
    None,  // nothing listed
    Device,
    Offline,
    Unauthorized,
    NoPermissions,
    Authorizing,
    Connecting,
    Recovery,
    Sideload,
    Bootloader,
    Host,
    Unknown,
    AdbMissing,  // no adb client to ask
};

// adb's words for a state, as "devices" (with or without -l) or
// "track-devices" print them: "device", "no permissions (user in plugdev
// group; are your udev rules wrong?); see [...]", ...
LinkState LinkStateOf(const QString& words);

struct LinkTexts {
    const char* line;    // the state line's text (a language-file key)
    const char* advice;  // the log entry saying what to do; nullptr: nothing to say
};
LinkTexts TextsOf(LinkState state);

// The advice with its blanks filled: %1 adb's words, %2 the command that
// installs the udev rule from a source tree.
QString FillAdvice(QString advice, const QString& words);

}  // namespace kz
