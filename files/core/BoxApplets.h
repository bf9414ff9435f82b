#pragma once
// What the box's busybox can do beside cp.  A box need not have md5sum or
// truncate, which prove a copy and a boot write; without them a proof falls
// back to what the box can show (the sizes, the tool's own word).  One look
// at busybox's list of functions when the box is found tells, so that a
// missing applet costs no failing command per copy.

#include <QString>

namespace kz::files {

enum class Applet { Unknown, Present, Missing };

struct BoxApplets {
    Applet md5sum = Applet::Unknown;
    Applet truncate = Applet::Unknown;
};

// shell "/mnt/sdcard/busybox": without an applet busybox prints its usage,
// which ends with "Currently defined functions:" and the applets' names.
QString AppletProbeCommand();

// Both Unknown when the answer holds no such list (an older busybox, none at
// all, a client error): then every proof is tried and may fall back.
BoxApplets JudgeAppletProbe(const QString& output);

// The box could not run the command because the program or its applet is
// not there: busybox's "md5sum: applet not found", the shell's
// "sh: md5sum: not found" or "/system/bin/sh: /mnt/sdcard/busybox: not found".
// A client's "error: device not found" is no such answer: the box is gone.
bool IsCommandMissing(const QString& output);

}  // namespace kz::files
