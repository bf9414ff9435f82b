#include "transfer/core/TransferJudge.h"

#include "files/core/ChecksumJudge.h"
#include "files/core/CopyJudge.h"
#include "files/core/FileTexts.h"
#include "transfer/core/TransferTexts.h"

namespace kz::transfer {

namespace ft = kz::files::text;

bool ClientMovedFile(const QString& output, Direction direction)
{
    const QString moved = direction == Direction::Push ? QStringLiteral("1 file pushed") : QStringLiteral("1 file pulled");
    return output.contains(moved) && !output.contains(QLatin1String("error:"));
}

const char* BoxRoomRefusal(quint64 bytes, const QString& dfOutput)
{
    if (dfOutput.contains(QLatin1String("/mnt/udisk: I/O error")) ||
        dfOutput.contains(QLatin1String("No such file or directory")))
        return ft::UdiskNotFound;
    const QString token = kz::files::FreeSpaceToken(dfOutput);
    if (token.isEmpty())
        return text::NoFreeSpaceReported;
    return kz::files::FreeSpaceBytes(token) < bytes ? ft::NotEnoughDisk : nullptr;
}

const char* PcRoomRefusal(quint64 bytes, quint64 freeBytes)
{
    return freeBytes < bytes ? ft::NotEnoughDisk : nullptr;
}

Verdict JudgeProof(const QString& hostMd5, const QString& boxSumOutput)
{
    const QString box = kz::files::Md5SumOf(boxSumOutput);
    if (hostMd5.isEmpty() || box.isEmpty())
        return Verdict::SumMissing;
    return hostMd5.compare(box, Qt::CaseInsensitive) == 0 ? Verdict::Verified : Verdict::SumsDiffer;
}

const char* VerdictKey(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Verified: return text::TransferOk;
    case Verdict::Cancelled: return text::TransferCancelled;
    default: return text::TransferFailed;
    }
}

QString VerdictWord(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Verified: return QStringLiteral("verified");
    case Verdict::ClientFailed: return QStringLiteral("transfer-failed");
    case Verdict::SumMissing: return QStringLiteral("sum-missing");
    case Verdict::SumsDiffer: return QStringLiteral("sum-differs");
    case Verdict::Cancelled: return QStringLiteral("cancelled");
    }
    return {};
}

}  // namespace kz::transfer
