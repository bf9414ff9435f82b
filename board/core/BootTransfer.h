#pragma once
// Boot partition transfers as their worker runs them: the tool's command,
// then the checks that prove it (board/core/BootCheck.h), then the entry in
// the main window's log and the operator's record with the sums, sizes and
// durations.  Each call blocks its worker for several client runs.

#include <QString>
#include <functional>

#include "link/OperatorRecord.h"
#include "device/ClientAnswer.h"
#include "files/core/BoxApplets.h"

namespace kz::board {

// Writes one log entry; callable from the worker's thread.
using LogSink = std::function<void(int style, const QString& text, const kz::LogTag& tag)>;

// One client run; the command-line tool's names its box with "-s".
using ClientRun = std::function<kz::ClientAnswer(const QString& command)>;

// How a transfer's outcome is logged: the texts as shown and their English
// keys, under the operation's name ("read-boot1", "write-boot2").
struct BootReport {
    QString operation;
    QString okText;
    QString failText;
    const char* okKey = "";
    const char* failKey = "";
    LogSink log;
    ClientRun run = {};  // empty: the client beside the program, as it is
    // What the box was found to have: a missing md5sum or truncate is not
    // asked for, and a write is then reported as not proved.
    kz::files::BoxApplets applets = {};
    QString notProvedText = {};  // the tip after a write that stands unproved
    const char* notProvedKey = "";
};

// Saves the partition under `name` on the SD card and sums the saved image.
// True when the tool said the read was complete; a sum that cannot be had
// is recorded as missing ("verify":"none") and does not undo a good read.
bool RunBootRead(int boot, const QString& name, const BootReport& report);

// Names the read-back of a boot write (boot is 1 or 2); called on the
// worker.  The default tags it with this process and a running number.
using ReadBackNamer = std::function<QString(int boot)>;
QString NextReadBackName(int boot);

// Writes the image `name` from `source` and reads the partition back; true
// only when the read-back's sum over the image's length equals the image's,
// or when the box cannot sum or cut (then the tool's word stands and the
// record says "not-proved").  The read-back is removed whatever happened.
bool RunBootWrite(int boot, int source, const QString& name, const BootReport& report,
                  const ReadBackNamer& namer = NextReadBackName);

}  // namespace kz::board
