#pragma once
// One transfer between this PC and the box, from the checks before it to
// the proof after it, on the calling thread.  Used by the transfer window
// (on a worker) and by the command line alike.
//
// Before any byte moves: the names, the source's size, the room on the
// target.  Then the client moves the bytes into the target's part file
// while the other side's sum is taken beside it (the PC's file for a push,
// the box's file for a pull).  The part file takes the target's name only
// when the PC's md5 and the box's md5sum agree; otherwise, and on a cancel,
// it is removed, and the source and any old target stay as they were.

#include <QString>
#include <atomic>
#include <chrono>
#include <functional>

#include "files/core/CopyRun.h"
#include "transfer/core/TransferFacts.h"
#include "transfer/core/TransferPlan.h"

namespace kz::transfer {

class ITransferSink {
public:
    virtual ~ITransferSink() = default;
    // Bytes moved so far of `total`, `elapsedMs` after the move began.
    virtual void Progress(quint64 done, quint64 total, qint64 elapsedMs) = 0;
    // The bytes are there; the sums are being compared.
    virtual void Verifying() = 0;
};

struct TransferJob {
    TransferPlan plan;
    kz::files::CommandRunner run;  // short client commands
    // The client's command line for a command (the CLI names its box here).
    std::function<QString(const QString&)> clientLine = [](const QString& c) { return c; };
    const std::atomic<bool>* cancel = nullptr;
    std::chrono::milliseconds tickEvery{250};
};

struct TransferReport {
    const char* refusal = nullptr;  // refused before any byte moved (a language key)
    QString told;                   // the client's or the box's words on a failure
    TransferFacts facts;
    bool Success() const { return refusal == nullptr && facts.verdict == Verdict::Verified; }
};

TransferReport RunTransfer(const TransferJob& job, ITransferSink& sink);

// The bytes a pull will bring: the box's "ls -l" of the file.  Files of
// 4 GiB and more are listed modulo 2^32, so this is a floor, not a promise.
std::optional<quint64> BoxFileBytes(const TransferJob& job, QString& told);

}  // namespace kz::transfer
