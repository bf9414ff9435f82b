#pragma once
// The copy worker and its progress poller, without any window: commands go
// through an injected runner and every visible effect through a sink, which
// the file manager implements by handing the calls to the GUI thread.
//
// The worker shows the progress, starts the poller, runs the copy command,
// gives the poller a grace period to see the final size, then stops it
// (between two of its commands) and waits for it, so that no progress value
// arrives after the result.  A copy whose sizes agree is then proved by the
// md5sum of both files; only equal sums make a success.  A box that cannot
// sum leaves the sizes' verdict standing, and the report says so.  Then it
// re-enables the copy, reports and clears the progress display.

#include <QString>
#include <functional>
#include <memory>

#include "device/ClientAnswer.h"
#include "files/core/BoxApplets.h"
#include "files/core/CopyFacts.h"
#include "files/core/CopyJudge.h"
#include "ui/ThreadStarter.h"

namespace kz::files {

// One client run: whether it started, and what it printed.
using CommandRunner = std::function<kz::ClientAnswer(const QString& command)>;

struct CopyTiming {
    int firstPollMs = 500;
    int pollEveryMs = 300;
    int pollerGraceMs = 1000;
};

struct CopyReport {
    bool success = false;
    QString told;  // the box's words on a failure (the tip); empty on success
    CopyFacts facts;
};

// Everything a copy makes visible, in this order: CopyStarted, Progress...,
// Verifying (only for a copy whose sizes agree), CopyEnded, Report,
// ProgressCleared.  Called on the worker's or the poller's thread, never two
// at once.
class ICopySink {
public:
    virtual ~ICopySink() = default;
    virtual void CopyStarted() = 0;         // progress shown, copy button disabled
    virtual void Progress(int percent) = 0;
    // The bytes are all there; their checksums are being compared (the bar
    // stays full and says "Verifying").
    virtual void Verifying() = 0;
    virtual void CopyEnded() = 0;           // copy button enabled again
    // Message first (returns once answered), then the log entries.
    virtual void Report(const CopyReport& report) = 0;
    virtual void ProgressCleared() = 0;     // value 0, blank text
};

struct CopyJob {
    QString sourcePath;  // quoted, e.g. /mnt/udisk/'a.bin'
    QString targetPath;
    QString sourceName;  // plain, e.g. a.bin
    QString targetName;
    CommandRunner run;
    std::shared_ptr<ICopySink> sink;
    CopyTiming timing;
    // What the box was found to have; md5sum Missing: no sum is asked for.
    BoxApplets applets;
};

// The whole copy on the calling thread (the worker's body).
void RunCopy(const CopyJob& job);

// RunCopy on a new detached thread; the job is owned by it.  When no thread
// can be made, the sink hears the end of the copy and a failure at once, so
// the copy button does not stay disabled.
bool StartCopyWorker(CopyJob job, const kz::ui::ThreadStarter& start = {});

// The copy's output with each file's own "ls -l" after the copy, for
// CopySucceeded (both files listed with the same size).
CopyEvidence ProbeCopy(const CopyJob& job, const QString& copyOutput);

}  // namespace kz::files
