// The size and free-space probes around a copy and the verdicts drawn from
// them.  Fields (NUL-separated): the source's "ls -l", the target's "df",
// cp's output, the target's "ls -l", and the two file names.
#include "files/core/CopyJudge.h"
#include "files/core/Listing.h"
#include "tests/fuzz/FuzzInput.h"
#include "tests/fuzz/FuzzTarget.h"

#include <QRegularExpression>

namespace {

using namespace kz::files;

bool IsToken(const QString& token)
{
    return token.size() <= 49 && !token.contains(u' ');
}

// A copy judged good names both files and knows their common size.
void CheckVerdict(const CopyEvidence& e)
{
    const int percent = ProgressPercent(ProbeFileSize(e.targetProbe), ProbeFileSize(e.sourceProbe));
    KZ_FUZZ_CHECK(percent >= 0 && percent <= 100);
    if (!CopySucceeded(e))
        return;
    KZ_FUZZ_CHECK(!e.sourceName.isEmpty() && !e.targetName.isEmpty());
    KZ_FUZZ_CHECK(IsListingOfFile(e.sourceProbe, e.sourceName) && IsListingOfFile(e.targetProbe, e.targetName));
    const QString size = ProbeFileSize(e.sourceProbe);
    KZ_FUZZ_CHECK(!size.isEmpty() && size == ProbeFileSize(e.targetProbe));
}

// The probe of a plain file as the box lists it gives back its size, and
// lists exactly that file.
void CheckOwnProbe(const QString& size, const QString& name)
{
    static const QRegularExpression field(QStringLiteral("\\A\\d{1,20}\\z"));
    if (!field.match(size).hasMatch() || name.isEmpty() || name != name.trimmed() || name.contains(u'\n') ||
        name.contains(u'/'))
        return;
    const QString probe =
        QStringLiteral("-rw-rw-r-- root     root     %1 2024-05-01 09:30 /mnt/sdcard/").arg(size) + name +
        QStringLiteral("\r\r\n");
    KZ_FUZZ_CHECK(ProbeFileSize(probe) == size);
    KZ_FUZZ_CHECK(IsListingOfFile(probe, name));
    KZ_FUZZ_CHECK(CopySucceeded({QString(), probe, probe, name, name}));
}

}  // namespace

KZ_FUZZ_TARGET(CopyJudge)
{
    const QList<QByteArray> f = kz::fuzz::Fields(data, size, 6);
    const QString sourceLs = QString::fromUtf8(f[0]);
    const QString df = QString::fromUtf8(f[1]);

    const QString probed = ProbeFileSize(sourceLs);
    KZ_FUZZ_CHECK(IsToken(probed));
    const QString token = FreeSpaceToken(df);
    KZ_FUZZ_CHECK(IsToken(token));
    FreeSpaceBytes(token);
    FreeSpaceBytes(df);
    const SpaceOutcome outcome = JudgeTargetSpace(sourceLs, df);
    KZ_FUZZ_CHECK(outcome == SpaceNotReported || outcome == SpaceStorageMissing || outcome == SpaceTooSmall ||
                  outcome == SpaceOk);
    if (outcome == SpaceOk || outcome == SpaceTooSmall)
        KZ_FUZZ_CHECK(df.contains(QLatin1String("available")));

    CheckVerdict({QString::fromUtf8(f[2]), sourceLs, QString::fromUtf8(f[3]), QString::fromUtf8(f[4]),
                  QString::fromUtf8(f[5])});
    CheckOwnProbe(QString::fromUtf8(f[4]), QString::fromUtf8(f[5]));
}
