#include "update/core/UpdateSequence.h"

#include "device/ServerStartLines.h"
#include "platform/CommandLine.h"

namespace kz {

namespace {

const char kNoSuchFile[] = "No such file or directory";

QString NothingToRemove(const QString& path)
{
    return QStringLiteral("rm failed for %1, %2").arg(path, QLatin1String(kNoSuchFile));
}

// The box's rm names the path as it was given; the shorter /sdcard form is
// also what some boxes print for the same files, so both count.
UpdateStep Removal(const QString& path, const QString& alsoNamedAs, int progress = 0)
{
    QStringList texts{NothingToRemove(alsoNamedAs)};
    if (alsoNamedAs != path)
        texts << NothingToRemove(path);
    return {QStringLiteral("shell rm ") + path, UpdateCheck::Removal, texts, progress};
}

UpdateStep Push(const QString& folder, const QString& file, const char* target, int progress = 0)
{
    const QString line = QStringLiteral("push %1 %2").arg(QuoteWindowsArgument(folder + file), QLatin1String(target));
    return {line, UpdateCheck::Push, {}, progress};
}

UpdateStep Shell(const char* script, UpdateCheck check, int progress = 0)
{
    return {QStringLiteral("shell \"%1\"").arg(QLatin1String(script)), check, {}, progress};
}

bool PushSucceeded(const QString& output)
{
    const QString answer = StripServerStartLines(output);
    // A failed transfer still prints something: the client's error line
    // ("error: device not found", "adb: error: failed to copy ...") is no
    // transfer report.
    return !answer.trimmed().isEmpty() && !answer.contains(QLatin1String(kNoSuchFile)) &&
           !answer.contains(QLatin1String("error:")) && !answer.contains(QLatin1String("failed to copy"));
}

bool RemovalSucceeded(const UpdateStep& step, const QString& output)
{
    if (IsEmptyAnswer(output))
        return true;
    for (const QString& text : step.nothingToRemove)
        if (output.contains(text))
            return true;
    return false;
}

}  // namespace

const QStringList& UpdateFileNames()
{
    static const QStringList names{
        QStringLiteral("key_test"), QStringLiteral("QerlinA"),       QStringLiteral("QerlinB"),
        QStringLiteral("QerlinC"),  QStringLiteral("eMMC"),          QStringLiteral("busybox"),
        QStringLiteral("uImage"),   QStringLiteral("dl_kernel.sh"),  QStringLiteral("dl_ramdisk.sh"),
        QStringLiteral("uramdisk.img"),
    };
    return names;
}

std::vector<UpdateStep> BuildUpdateSequence(const QString& folder)
{
    const auto sd = [](const char* name) { return QStringLiteral("/mnt/sdcard/") + QLatin1String(name); };
    const auto shortSd = [](const char* name) { return QStringLiteral("/sdcard/") + QLatin1String(name); };
    return {
        Removal(QStringLiteral("/data/dalvik-cache/*"), QStringLiteral("/data/dalvik-cache/*")),
        Removal(QStringLiteral("/data/bin/*"), QStringLiteral("/data/bin/*"), 1),
        Push(folder, QStringLiteral("key_test"), "/data/bin"),
        Push(folder, QStringLiteral("QerlinA"), "/data/bin", 2),
        Push(folder, QStringLiteral("QerlinB"), "/data/bin"),
        Push(folder, QStringLiteral("QerlinC"), "/data/bin", 3),
        Push(folder, QStringLiteral("eMMC"), "/mnt/sdcard"),
        Push(folder, QStringLiteral("busybox"), "/mnt/sdcard", 4),
        Push(folder, QStringLiteral("uImage"), "/mnt/sdcard"),
        Push(folder, QStringLiteral("dl_kernel.sh"), "/mnt/sdcard", 5),
        Push(folder, QStringLiteral("dl_ramdisk.sh"), "/mnt/sdcard"),
        Push(folder, QStringLiteral("uramdisk.img"), "/mnt/sdcard", 6),
        Shell("cd /data/bin && chmod 777 *", UpdateCheck::Silent),
        Shell("cd /data/bin && sync", UpdateCheck::Silent, 7),
        Shell("cd /mnt/sdcard && ./dl_kernel.sh", UpdateCheck::None),
        Shell("cd /mnt/sdcard && ./dl_ramdisk.sh", UpdateCheck::None, 8),
        Shell("cd /mnt/sdcard && sync", UpdateCheck::None),
        Removal(sd("dl_kernel.sh"), shortSd("dl_kernel.sh")),
        Removal(sd("dl_ramdisk.sh"), shortSd("dl_ramdisk.sh"), 9),
        Removal(sd("uImage"), shortSd("uImage")),
        Removal(sd("uramdisk.img"), shortSd("uramdisk.img")),
    };
}

bool PassesCheck(const UpdateStep& step, const QString& output)
{
    switch (step.check) {
    case UpdateCheck::Removal: return RemovalSucceeded(step, output);
    case UpdateCheck::Push: return PushSucceeded(output);
    case UpdateCheck::Silent: return IsEmptyAnswer(output);
    case UpdateCheck::None: break;
    }
    return true;
}

}  // namespace kz
