#pragma once
// The adb client's own error texts and the message each one gives the
// operator.  Every judge of a device answer maps them through here, so one
// text never gets two messages.

#include <QString>
#include <optional>

namespace kz {

// Where a plain "not found" ranks against the client's error lines.  A shell
// that could not find a program prints it too, so a judge that takes any
// "not found" as a missing device looks for it first; one that lets a
// device error win (the chip information) looks for it last.
enum class PlainNotFound { First, Last };

// The message (English text, a language-file key) for the first error of the
// client found in `output`, or nullptr when there is none.
const char* ClientErrorMessage(const QString& output, PlainNotFound rank);

// adb refused the command for want of a usable device (missing, offline,
// unauthorized, several, ...): a reason to look at its device list at once.
// A shell's "not found" is not one.
bool IsDeviceError(const QString& output);

// The adapter found no adb client to run.
bool IsAdbMissing(const QString& output);

// "adb server version (N) doesn't match this client (M)": another adb's
// server answered.  The server's and the client's version, when said.
struct VersionClash {
    QString server;
    QString client;
    bool operator==(const VersionClash&) const = default;
};
std::optional<VersionClash> ServerVersionClash(const QString& output);

}  // namespace kz
