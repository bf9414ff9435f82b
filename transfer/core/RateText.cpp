#include "transfer/core/RateText.h"

namespace kz::transfer {

namespace {

constexpr qint64 kFirstRateMs = 1000;

QString Clock(qint64 seconds)
{
    const qint64 h = seconds / 3600;
    const qint64 m = seconds / 60 % 60;
    const qint64 s = seconds % 60;
    const QString mmss = QStringLiteral("%1:%2").arg(h > 0 ? QStringLiteral("%1").arg(m, 2, 10, QChar(u'0'))
                                                           : QString::number(m))
                             .arg(s, 2, 10, QChar(u'0'));
    return h > 0 ? QString::number(h) + u':' + mmss : mmss;
}

}  // namespace

Rate MeasureRate(quint64 done, quint64 total, qint64 elapsedMs)
{
    Rate rate;
    if (elapsedMs < kFirstRateMs || done == 0)
        return rate;
    rate.known = true;
    const double bytesPerSecond = double(done) * 1000.0 / double(elapsedMs);
    rate.mbPerSecond = bytesPerSecond / (1024.0 * 1024.0);
    if (total >= done && total > 0)
        rate.secondsLeft = qint64(double(total - done) / bytesPerSecond + 0.5);
    return rate;
}

QString RateText(const Rate& rate, const QString& timeLeftWord)
{
    if (!rate.known)
        return {};
    QString text = QString::number(rate.mbPerSecond, 'f', 1) + QStringLiteral(" MB/s");
    if (rate.secondsLeft >= 0)
        text += QStringLiteral("  ") + timeLeftWord + u' ' + Clock(rate.secondsLeft);
    return text;
}

QString PercentWithRate(int percent, const Rate& rate, const QString& timeLeftWord)
{
    const QString rateText = RateText(rate, timeLeftWord);
    const QString head = QString::number(percent) + u'%';
    return rateText.isEmpty() ? head : head + QStringLiteral("  ") + rateText;
}

}  // namespace kz::transfer
