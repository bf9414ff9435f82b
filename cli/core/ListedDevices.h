#pragma once
// The boxes the client's "devices" answer lists, and the box a command is
// sent to: the one named with --serial, else the only one listed.  With
// several listed and none named nothing is sent, since adb would refuse
// the command anyway and the operator must say which box is meant.

#include <QString>

#include "link/TrackDevices.h"

namespace kz::cli {

// Every "SERIAL<TAB>STATE" line after the list's header, in order.  Empty
// when the header is missing (no answer from adb).
kz::TrackedList ListedDevices(const QString& devicesOutput);

struct SerialChoice {
    QString serial;  // empty: no box listed (the command then says so itself)
    QString refusal; // several listed and none named: the usage error naming them
};

SerialChoice ChooseSerial(const kz::TrackedList& listed);

}  // namespace kz::cli
