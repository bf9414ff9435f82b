#include "board/core/BootCheck.h"

#include <QStringList>

#include "device/ServerStartLines.h"
#include "board/core/BoardCommands.h"
#include "files/core/FileManagerMode.h"
#include "files/core/BoxApplets.h"
#include "files/core/ChecksumJudge.h"
#include "files/core/CopyJudge.h"
#include "files/core/Listing.h"
#include "files/core/ShellName.h"

namespace kz::board {

namespace {

QStringList AnswerLines(const QString& output)
{
    QStringList lines;
    for (const QString& line : StripServerStartLines(output).split(u'\n')) {
        if (const QString text = line.trimmed(); !text.isEmpty())
            lines << text;
    }
    return lines;
}

}  // namespace

QString BootImagePath(int source, const QString& name)
{
    const int where = source == SOURCE_BOOT_UDISK ? SOURCE_BOOT_UDISK : SOURCE_BOOT_SDCARD;
    return kz::files::RootOf(where) + u'/' + kz::files::ShellQuote(name);
}

QString ReadBackName(int boot, qint64 processId, int sequence)
{
    return QStringLiteral(".kz-readback-boot%1-%2-%3.bin").arg(boot).arg(processId).arg(sequence);
}

QString CutCommand(const QString& path, quint64 bytes)
{
    return QStringLiteral("shell \"/mnt/sdcard/busybox truncate -c -s %1 ").arg(bytes) + path + u'"';
}

QString RemoveCommand(const QString& path)
{
    return QStringLiteral("shell \"rm -f ") + path + u'"';
}

std::optional<quint64> ListedSize(const QString& probe, const QString& name)
{
    const QStringList lines = AnswerLines(probe);
    if (lines.size() != 1 || !kz::files::IsListingLine(lines.first()) || !lines.first().startsWith(u'-'))
        return std::nullopt;
    // A name typed with a folder in it is listed by its last part or whole.
    const QString base = name.section(u'/', -1);
    const QString listed = kz::files::ParseListingLine(lines.first()).name;
    const bool same = listed.compare(base, Qt::CaseInsensitive) == 0 ||
                      listed.endsWith(u'/' + base, Qt::CaseInsensitive);
    const QString size = kz::files::ProbeFileSize(probe);
    if (base.isEmpty() || !same || size.isEmpty())
        return std::nullopt;
    return kz::files::SizeFieldValue(size);
}

WriteVerdict JudgeWrite(const ReadBackEvidence& e)
{
    using kz::files::IsCommandMissing;
    if (!IsTransferSuccess(e.writeOutput))
        return WriteVerdict::WriteFailed;
    if (e.proofUnavailable)
        return WriteVerdict::NotProved;
    if (!ListedSize(e.sourceProbe, e.sourceName))
        return WriteVerdict::SizeUnknown;
    if (IsCommandMissing(e.sourceSum))
        return WriteVerdict::NotProved;
    // Without the image's sum the read-back is not even made.
    if (kz::files::Md5SumOf(e.sourceSum).isEmpty())
        return WriteVerdict::SumMissing;
    if (!IsTransferSuccess(e.readBackOutput))
        return WriteVerdict::ReadBackFailed;
    if (IsCommandMissing(e.cutOutput))
        return WriteVerdict::NotProved;
    if (!IsEmptyAnswer(e.cutOutput))
        return WriteVerdict::CutFailed;
    if (IsCommandMissing(e.readBackSum))
        return WriteVerdict::NotProved;
    switch (kz::files::JudgeSums(e.sourceSum, e.readBackSum)) {
    case kz::files::SumVerdict::Equal:
        return WriteVerdict::Verified;
    case kz::files::SumVerdict::Different:
        return WriteVerdict::SumDiffers;
    case kz::files::SumVerdict::Missing:
    case kz::files::SumVerdict::Garbage:
        break;
    }
    return WriteVerdict::SumMissing;
}

QString WriteTip(const ReadBackEvidence& e, WriteVerdict verdict)
{
    switch (verdict) {
    case WriteVerdict::Verified:
    case WriteVerdict::NotProved:
        return {};
    case WriteVerdict::WriteFailed:
        return e.writeOutput;
    case WriteVerdict::SizeUnknown:
        return e.sourceProbe;
    case WriteVerdict::ReadBackFailed:
        return e.readBackOutput;
    case WriteVerdict::CutFailed:
        return e.cutOutput;
    case WriteVerdict::SumMissing:
    case WriteVerdict::SumDiffers:
        break;
    }
    return StripServerStartLines(e.sourceSum).trimmed() + u'\n' + StripServerStartLines(e.readBackSum).trimmed();
}

QString VerdictName(WriteVerdict verdict)
{
    switch (verdict) {
    case WriteVerdict::Verified:
        return QStringLiteral("verified");
    case WriteVerdict::WriteFailed:
        return QStringLiteral("write-failed");
    case WriteVerdict::SizeUnknown:
        return QStringLiteral("size-unknown");
    case WriteVerdict::ReadBackFailed:
        return QStringLiteral("read-back-failed");
    case WriteVerdict::CutFailed:
        return QStringLiteral("cut-failed");
    case WriteVerdict::SumMissing:
        return QStringLiteral("sum-missing");
    case WriteVerdict::NotProved:
        return QStringLiteral("not-proved");
    case WriteVerdict::SumDiffers:
        break;
    }
    return QStringLiteral("sum-differs");
}

}  // namespace kz::board
