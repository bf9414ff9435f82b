#include "device/ServerStartLines.h"

namespace kz {

namespace {
bool IsServerStartLine(QStringView line)
{
    const QStringView text = line.trimmed();
    return text.startsWith(u"* daemon not running") || text.startsWith(u"* daemon started successfully");
}
}  // namespace

QString StripServerStartLines(const QString& output)
{
    // Almost every answer has none: hand the text back without copying it.
    if (!output.contains(u"* daemon"))
        return output;
    QString kept;
    qsizetype start = 0;
    while (start < output.size()) {
        qsizetype end = output.indexOf(u'\n', start);
        end = end < 0 ? output.size() : end + 1;
        const QStringView line = QStringView(output).sliced(start, end - start);
        if (!IsServerStartLine(line))
            kept += line;
        start = end;
    }
    return kept;
}

bool IsEmptyAnswer(const QString& output)
{
    return StripServerStartLines(output).trimmed().isEmpty();
}

}  // namespace kz
