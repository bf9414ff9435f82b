#include "transfer/core/TransferFacts.h"

namespace kz::transfer {

QJsonObject TransferFactsJson(const TransferFacts& facts)
{
    QJsonObject json;
    json[QStringLiteral("direction")] = OperationName(facts.direction);
    json[QStringLiteral("pcPath")] = facts.pcPath;
    json[QStringLiteral("boxPath")] = facts.boxPath;
    json[QStringLiteral("verdict")] = VerdictWord(facts.verdict);
    if (facts.bytes >= 0)
        json[QStringLiteral("bytes")] = facts.bytes;
    if (!facts.pcMd5.isEmpty())
        json[QStringLiteral("pcMd5")] = facts.pcMd5;
    if (!facts.boxMd5.isEmpty())
        json[QStringLiteral("boxMd5")] = facts.boxMd5;
    if (facts.transferMs >= 0)
        json[QStringLiteral("transferMs")] = facts.transferMs;
    if (facts.verifyMs >= 0)
        json[QStringLiteral("verifyMs")] = facts.verifyMs;
    return json;
}

}  // namespace kz::transfer
