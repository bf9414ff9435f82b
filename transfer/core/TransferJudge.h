#pragma once
// The judgements of a transfer: did the client move the file, is there room
// for it, and do the two sums prove it.

#include <QString>

#include "transfer/core/TransferPlan.h"

namespace kz::transfer {

// adb's own report of one file moved ("1 file pushed" / "1 file pulled")
// and no error of the client or the box.
bool ClientMovedFile(const QString& output, Direction direction);

// Language key of the reason the box's storage cannot take `bytes`, from
// its "df" output: no room ("Not enough disk!"), the storage missing, or no
// free space named at all; null when it fits.
const char* BoxRoomRefusal(quint64 bytes, const QString& dfOutput);
// The same for the PC's folder, from its free bytes (statvfs).
const char* PcRoomRefusal(quint64 bytes, quint64 freeBytes);

enum class Verdict {
    Verified,      // both sums there and equal
    ClientFailed,  // the client did not report the file moved
    SumMissing,    // a side gave no sum
    SumsDiffer,
    Cancelled,
};

// Both sums as lowercase hex; `boxSumOutput` is the box's md5sum answer.
Verdict JudgeProof(const QString& hostMd5, const QString& boxSumOutput);

// The key of the message that reports the verdict.
const char* VerdictKey(Verdict verdict);
// The record's word for it.
QString VerdictWord(Verdict verdict);

}  // namespace kz::transfer
