#include "files/core/CopyJudge.h"

#include "app/core/ServerStartLines.h"
#include "files/core/Listing.h"

namespace kz::files {

namespace {

constexpr qsizetype kMaxToken = 49;

// The run of non-blank characters from `from`, at most kMaxToken long.
QString RunFrom(const QString& text, qsizetype from)
{
    qsizetype end = from;
    while (end < text.size() && text[end] != u' ' && end - from < kMaxToken)
        ++end;
    return text.mid(from, end - from);
}

}  // namespace

QString ProbeFileSize(const QString& lsOutput)
{
    const QString text = StripServerStartLines(lsOutput);
    if (text.isEmpty())
        return {};
    const qsizetype colon = text.indexOf(u':');
    if (colon < 0)
        return {};
    if (text.mid(colon + 2, 2) == QLatin1String("No"))
        return QStringLiteral("0");
    // In "... 1234 2024-05-01 09:30 name" the size's last digit stands 15
    // characters before the time's colon.
    qsizetype i = colon - 15;
    if (i < 0)
        return {};
    while (i >= 0 && text[i] != u' ')
        --i;
    if (i < 0)
        return {};
    return RunFrom(text, i + 1);
}

QString FreeSpaceToken(const QString& dfOutput)
{
    const qsizetype word = dfOutput.indexOf(QLatin1String("available"));
    if (word < 0)
        return {};
    qsizetype i = word - 1;
    while (i >= 0 && dfOutput[i] == u' ')
        --i;
    while (i >= 0 && dfOutput[i] != u' ')
        --i;
    return RunFrom(dfOutput, i + 1);
}

SpaceOutcome JudgeTargetSpace(const QString& sourceLsOutput, const QString& dfOutput)
{
    if (dfOutput.contains(QLatin1String("/mnt/udisk: I/O error")) ||
        dfOutput.contains(QLatin1String("No such file or directory")))
        return SpaceStorageMissing;
    if (!dfOutput.contains(QLatin1String("available")))
        return SpaceNotReported;
    const quint64 needed = SizeFieldValue(ProbeFileSize(sourceLsOutput));
    const quint64 freeUnits = SizeFieldValue(FreeSpaceToken(dfOutput));
    // Compare in units so that a huge token cannot overflow the product.
    const bool tooSmall = freeUnits < needed / 1024 || (freeUnits == needed / 1024 && needed % 1024 != 0);
    return tooSmall ? SpaceTooSmall : SpaceOk;
}

int ProgressPercent(const QString& targetSize, const QString& sourceSize)
{
    const quint64 s = SizeFieldValue(sourceSize);
    if (s == 0)
        return 0;
    const quint64 t = SizeFieldValue(targetSize);
    if (t >= s)
        return 100;
    return int(double(t) / double(s) * 100.0);
}

bool CopyReportedIoError(const QString& copyOutput)
{
    return copyOutput.contains(QLatin1String("Input/output error"));
}

}  // namespace kz::files
