// bench_listing: the box's "ls -l" answer of 100k files, as the file manager
// reads it, against a plain split of the same text into lines.
//   1. ParseListing alone (target <= 3);
//   2. the file manager's whole path: entries and folders (ParseListingAndFolders).
// The sides alternate within each round; ratios are min / median / max.
// Usage: bench_listing [lines] [rounds]

#include "files/core/Listing.h"
#include "support/Ratio.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(const std::function<void()>& work)
{
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// A listing as the box prints it: CR CR LF, a folder every 50 lines, sizes
// from bytes to gigabytes, names with blanks.
QString MakeListing(int lines)
{
    QString text;
    text.reserve(qsizetype(lines) * 72);
    for (int i = 0; i < lines; ++i) {
        if (i % 50 == 0) {
            text += QStringLiteral("drwxrwxr-x root     root              2024-05-01 09:30 folder %1\r\r\n").arg(i);
            continue;
        }
        const quint64 size = (quint64(i) * 2654435761u) % 5000000000ull;
        text += QStringLiteral("-rw-rw-r-- root     root     %1 2024-05-01 09:30 file %2.bin\r\r\n")
                    .arg(size, 10)
                    .arg(i, 6, 10, QLatin1Char('0'));
    }
    return text;
}

}  // namespace

int main(int argc, char** argv)
{
    const int lines = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
    const QString text = MakeListing(lines);
    std::vector<double> parseRatios, pathRatios;
    qsizetype sink = 0;
    for (int round = 0; round < rounds; ++round) {
        const double split = Seconds([&] { sink += text.split(QStringLiteral("\r\r\n")).size(); });
        const double parse = Seconds([&] { sink += kz::files::ParseListing(text).size(); });
        const double path = Seconds([&] {
            const kz::files::Listing listing = kz::files::ParseListingAndFolders(text);
            sink += listing.entries.size() + listing.folders.size();
        });
        parseRatios.push_back(parse / split);
        pathRatios.push_back(path / split);
    }
    std::printf("%d lines, %lld entries seen\n", lines, static_cast<long long>(sink));
    bench::ReportRatio("ParseListing (time)", "plain split", parseRatios, "<= 3");
    bench::ReportRatio("file manager's listing path (time)", "plain split", pathRatios, "<= 3");
    return 0;
}
