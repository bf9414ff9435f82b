// The copy modes: checks on the GUI thread, then the copy worker.
#include "files/FileManager.h"

#include <QComboBox>
#include <QProgressBar>

#include "app/MainFrame.h"
#include "link/LogLine.h"
#include "device/AdbRunner.h"
#include "files/CopySink.h"
#include "files/core/Commands.h"
#include "files/core/CopyChecks.h"
#include "files/core/CopyJudge.h"
#include "files/core/Listing.h"
#include "files/core/CopyRun.h"
#include "files/core/FileTexts.h"

namespace ft = kz::files::text;

// Mode 0 takes the chosen item of "comb_name", mode 1 the typed "edit_name".
bool CFileManager::CopyTargetName(QString& name)
{
    if (m_mode == COPY_UDISK_TO_SDCARD) {
        auto* combo = FindControl<QComboBox>(QStringLiteral("comb_name"));
        name = combo && combo->currentIndex() >= 0 ? combo->currentText() : QString();
        return true;
    }
    if (m_mode == COPY_SDCARD_TO_UDISK) {
        name = kz::ui::GetControlText(FindControl(QStringLiteral("edit_name")));
        return true;
    }
    return false;
}

void CFileManager::StartCopy()
{
    if (m_entries.isEmpty()) {
        Prompt(ft::NoFile);
        return;
    }
    QString target;
    if (!CopyTargetName(target))
        return;
    if (const char* refusal = kz::files::CopyTargetRefusal(m_mode, target)) {
        Prompt(refusal);
        return;
    }
    QString source;
    if (!SelectedName(source)) {
        Prompt(ft::FileNotSelected);
        return;
    }
    if (const char* refusal = kz::files::CopyNamesRefusal(source, target)) {
        Prompt(refusal);
        return;
    }
    const QString sourcePath = kz::files::CopySourcePath(m_mode, source);
    if (CheckTargetSpace(source, sourcePath))
        StartCopyJob(source, target, sourcePath);
}

// True when the copy may start; otherwise the reason has been shown, and
// logged first when the box's words are needed to tell it.
bool CFileManager::CheckTargetSpace(const QString& source, const QString& sourcePath)
{
    const kz::ClientAnswer sourceListing = RunCommand(kz::files::ProbeCommand(sourcePath));
    if (!sourceListing.started)
        return false;
    const kz::ClientAnswer df = RunCommand(kz::files::FreeSpaceCommand(kz::files::CopyTargetDirectory(m_mode)));
    if (!df.started)
        return false;
    const kz::files::CopyStartRefusal refusal = kz::files::JudgeCopyStart(source, sourceListing.output, df.output);
    m_copyBytes = kz::files::SizeFieldValue(kz::files::ProbeFileSize(sourceListing.output));
    if (!refusal.key)
        return true;
    if (m_main && !refusal.tip.isEmpty()) {
        const QString operation = QStringLiteral("copy");
        m_main->WriteLog(kz::LOG_FAILURE, Text(refusal.key), {QString::fromUtf8(refusal.key), operation});
        m_main->WriteLog(kz::LOG_TIP, refusal.tip, {{}, operation});
    }
    Prompt(refusal.key);
    return false;
}

void CFileManager::StartCopyJob(const QString& source, const QString& target, const QString& sourcePath)
{
    // Disabled at once, so a second click cannot start a second copy before
    // the worker's own update arrives.
    ShowCopyRunning(true);
    kz::files::CopyJob job;
    job.sourcePath = sourcePath;
    job.targetPath = kz::files::CopyTargetPath(m_mode, target);
    job.sourceName = source;
    job.targetName = target;
    job.run = [](const QString& command) { return kz::RunAdbClient(command); };
    job.sink = std::make_shared<CCopySink>(this, m_main, m_adb, m_copyBytes);
    job.timing = m_main ? m_main->Timings().copy : kz::files::CopyTiming{};
    job.applets = m_main ? m_main->Applets() : kz::files::BoxApplets{};
    kz::files::StartCopyWorker(std::move(job));
}

void CFileManager::ShowCopyVerdict(const QString& text)
{
    if (auto* bar = FindControl<QProgressBar>(QStringLiteral("progress_copy")))
        bar->setFormat(text);
}
