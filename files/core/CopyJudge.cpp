#include "files/core/CopyJudge.h"

#include "device/ServerStartLines.h"
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

quint64 FreeSpaceBytes(const QString& token)
{
    static const QString units = QStringLiteral("KMGT");
    qsizetype i = token.startsWith(u'-') ? 1 : 0;
    while (i < token.size() && token[i].isDigit())
        ++i;
    const quint64 whole = SizeFieldValue(QStringView(token).first(i));
    double fraction = 0.0;
    if (i < token.size() && token[i] == u'.') {
        double scale = 0.1;
        for (++i; i < token.size() && token[i].isDigit(); ++i, scale /= 10)
            fraction += token[i].digitValue() * scale;
    }
    const qsizetype unit = i < token.size() ? units.indexOf(token[i].toUpper()) : -1;
    const quint64 bytesPerUnit = quint64(1) << (10 * (unit < 0 ? 1 : unit + 1));
    if (whole > UINT64_MAX / bytesPerUnit - 1)
        return UINT64_MAX;
    return whole * bytesPerUnit + quint64(fraction * double(bytesPerUnit));
}

SpaceOutcome JudgeTargetSpace(const QString& sourceLsOutput, const QString& dfOutput)
{
    if (dfOutput.contains(QLatin1String("/mnt/udisk: I/O error")) ||
        dfOutput.contains(QLatin1String("No such file or directory")))
        return SpaceStorageMissing;
    if (!dfOutput.contains(QLatin1String("available")))
        return SpaceNotReported;
    const quint64 needed = SizeFieldValue(ProbeFileSize(sourceLsOutput));
    return FreeSpaceBytes(FreeSpaceToken(dfOutput)) < needed ? SpaceTooSmall : SpaceOk;
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

bool IsListingOfFile(const QString& probe, const QString& name)
{
    QStringList lines;
    for (const QString& line : StripServerStartLines(probe).split(u'\n')) {
        if (const QString text = QStringView(line).trimmed().toString(); !text.isEmpty())
            lines << text;
    }
    if (lines.size() != 1 || !IsListingLine(lines.first()) || !lines.first().startsWith(u'-'))
        return false;
    const QString listed = ParseListingLine(lines.first()).name;
    return !name.isEmpty() && (listed == name || listed.endsWith(u'/' + name));
}

bool CopySucceeded(const CopyEvidence& e)
{
    if (!IsEmptyAnswer(e.copyOutput))
        return false;
    if (!IsListingOfFile(e.sourceProbe, e.sourceName) || !IsListingOfFile(e.targetProbe, e.targetName))
        return false;
    // Equal sizes are evidence only when the probes found them.
    const QString size = ProbeFileSize(e.sourceProbe);
    return !size.isEmpty() && size == ProbeFileSize(e.targetProbe);
}

}  // namespace kz::files
