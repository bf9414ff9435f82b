// Splitting of device command lines, and quoting as its inverse.
#include "platform/CommandLine.h"
#include "tests/fuzz/FuzzInput.h"
#include "tests/fuzz/FuzzTarget.h"

KZ_FUZZ_TARGET(CommandLine)
{
    const QString line = kz::fuzz::Text(data, size);
    const QStringList args = kz::SplitWindowsCommandLine(line);
    // Every character of an argument comes from one of the line's.
    qsizetype total = 0;
    for (const QString& arg : args)
        total += arg.size();
    KZ_FUZZ_CHECK(total <= line.size());
    KZ_FUZZ_CHECK(args.size() <= line.size());

    // The input's NUL-separated pieces as arguments: quoted and joined, they
    // must split back into exactly themselves.
    QStringList pieces;
    for (const QByteArray& piece : kz::fuzz::Bytes(data, size).split('\0'))
        pieces << QString::fromUtf8(piece);
    QStringList quoted;
    for (const QString& piece : pieces)
        quoted << kz::QuoteWindowsArgument(piece);
    KZ_FUZZ_CHECK(kz::SplitWindowsCommandLine(quoted.join(u' ')) == pieces);
    KZ_FUZZ_CHECK(kz::SplitWindowsCommandLine(quoted.join(u'\t')) == pieces);
}
