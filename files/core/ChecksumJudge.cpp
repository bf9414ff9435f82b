#include "files/core/ChecksumJudge.h"

#include <QRegularExpression>
#include <QStringList>

#include "device/ServerStartLines.h"

namespace kz::files {

namespace {

enum class Side { Sum, Missing, Garbage };

// The box's lines end in CR CR LF on their way through adb.
QStringList LinesOf(const QString& output)
{
    QStringList lines;
    for (const QString& line : StripServerStartLines(output).split(u'\n')) {
        if (!line.trimmed().isEmpty())
            lines << line.trimmed();
    }
    return lines;
}

Side SideOf(const QString& output)
{
    static const QRegularExpression sumLine(QStringLiteral("^[0-9a-fA-F]{32}  \\S"));
    const QStringList lines = LinesOf(output);
    if (lines.isEmpty() || lines.first().startsWith(QLatin1String("md5sum:")))
        return Side::Missing;
    return lines.size() == 1 && sumLine.match(lines.first()).hasMatch() ? Side::Sum : Side::Garbage;
}

}  // namespace

QString Md5SumOf(const QString& output)
{
    return SideOf(output) == Side::Sum ? LinesOf(output).first().left(32).toLower() : QString();
}

SumVerdict JudgeSums(const QString& sourceOutput, const QString& targetOutput)
{
    const Side source = SideOf(sourceOutput);
    const Side target = SideOf(targetOutput);
    if (source == Side::Missing || target == Side::Missing)
        return SumVerdict::Missing;
    if (source == Side::Garbage || target == Side::Garbage)
        return SumVerdict::Garbage;
    return Md5SumOf(sourceOutput) == Md5SumOf(targetOutput) ? SumVerdict::Equal : SumVerdict::Different;
}

}  // namespace kz::files
