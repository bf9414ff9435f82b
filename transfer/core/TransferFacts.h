#pragma once
// What the operator's record keeps of a transfer between this PC and the
// box: the direction, both paths, the size, both sums and the durations.

#include <QJsonObject>
#include <QString>

#include "transfer/core/TransferJudge.h"

namespace kz::transfer {

struct TransferFacts {
    Direction direction = Direction::Push;
    QString pcPath;
    QString boxPath;
    qint64 bytes = -1;
    QString pcMd5;   // lowercase hex; empty when not known
    QString boxMd5;
    qint64 transferMs = -1;
    qint64 verifyMs = -1;  // the proof after the bytes arrived
    Verdict verdict = Verdict::ClientFailed;
};

// The record's extra fields: each fact only when it is known.
QJsonObject TransferFactsJson(const TransferFacts& facts);

}  // namespace kz::transfer
