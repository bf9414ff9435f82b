#include "cli/core/StreamLines.h"

namespace kz::cli {

namespace {
QString WithoutReturns(QString line)
{
    while (line.endsWith(u'\r'))
        line.chop(1);
    return line;
}
}  // namespace

QStringList StreamLines::Feed(const QString& piece)
{
    m_pending += piece;
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype end = m_pending.indexOf(u'\n'); end >= 0; end = m_pending.indexOf(u'\n', start)) {
        lines << WithoutReturns(m_pending.mid(start, end - start));
        start = end + 1;
    }
    m_pending.remove(0, start);
    return lines;
}

QStringList StreamLines::Finish()
{
    const QString last = WithoutReturns(m_pending);
    m_pending.clear();
    return last.isEmpty() ? QStringList() : QStringList{last};
}

}  // namespace kz::cli
