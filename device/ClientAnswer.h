#pragma once
// What one run of the adb client gave: whether the client started at all,
// and what it printed.  A client that did not start printed nothing, and its
// empty text must not pass for the empty answer of a command that succeeded.

#include <QString>

namespace kz {

struct ClientAnswer {
    bool started = false;
    QString output;   // everything the client printed (empty when not started)
    QString failure;  // not started: the fixed text the warning box showed
};

}  // namespace kz
