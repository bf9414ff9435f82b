#pragma once
// Speed and time left beside a percentage, for every bar the operator waits
// at (transfers, copies, the update's pushes).  Nothing is said before a
// second has passed: an early rate swings too much to be worth reading.

#include <QString>

namespace kz::transfer {

struct Rate {
    bool known = false;
    double mbPerSecond = 0;  // MiB per second
    qint64 secondsLeft = -1;  // -1 when the total is unknown
};

Rate MeasureRate(quint64 done, quint64 total, qint64 elapsedMs);

// "12.3 MB/s  <time left> 1:05" ("h:mm:ss" past an hour); empty while the
// rate is not known.  `timeLeftWord` is the localised "Time left".
QString RateText(const Rate& rate, const QString& timeLeftWord);

// "42%  12.3 MB/s  Time left 0:05", or "42%" alone.
QString PercentWithRate(int percent, const Rate& rate, const QString& timeLeftWord);

}  // namespace kz::transfer
