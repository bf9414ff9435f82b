#pragma once
// Benchmarks state their results as ratios of two sides measured side by side
// in one run, repeated.  Each ratio is printed for the reader and once more as
//   RATIO <tab> measure <tab> reference <tab> min <tab> median <tab> max <tab> target
// which scripts/bench gathers into one table.

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace bench {

// `target` reads "<= 1.2" or ">= 0.5"; it is checked against the median.
inline void ReportRatio(const std::string& measure, const std::string& reference, std::vector<double> ratios,
                        const std::string& target)
{
    if (ratios.empty())
        return;
    std::sort(ratios.begin(), ratios.end());
    const double min = ratios.front(), median = ratios[ratios.size() / 2], max = ratios.back();
    std::printf("%s against %s: ratio min %.3f / median %.3f / max %.3f over %zu rounds (target %s)\n",
                measure.c_str(), reference.c_str(), min, median, max, ratios.size(), target.c_str());
    std::printf("RATIO\t%s\t%s\t%.3f\t%.3f\t%.3f\t%s\n", measure.c_str(), reference.c_str(), min, median, max,
                target.c_str());
    std::fflush(stdout);
}

}  // namespace bench
