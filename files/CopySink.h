#pragma once
// Carries a copy's visible effects to the GUI thread: the file manager's
// controls (dropped once the dialog is gone), the result box, and the main
// window's record and log.  It keeps the dialog's adb server alive until the
// copy has ended, so closing the dialog during a copy does not cut it off.

#include <QElapsedTimer>
#include <QPointer>
#include <memory>

#include "app/OutcomeLog.h"
#include "files/LangContext.h"
#include "files/core/CopyRun.h"

class CAdbHelper;
class CFileManager;
class CMainFrame;

class CCopySink : public kz::files::ICopySink {
public:
    // sourceBytes: the source's listed size, from which the bar tells the
    // speed and the time left.
    CCopySink(CFileManager* dialog, CMainFrame* main, std::shared_ptr<CAdbHelper> server, quint64 sourceBytes = 0);

    void CopyStarted() override;
    void Progress(int percent) override;
    void Verifying() override;
    void CopyEnded() override;
    void Report(const kz::files::CopyReport& report) override;
    void ProgressCleared() override;

private:
    QPointer<CFileManager> m_dialog;
    QPointer<QObject> m_window;  // owner of the result box
    kz::OutcomeLog m_log;
    CLangContext m_lang;
    std::shared_ptr<CAdbHelper> m_server;
    quint64 m_sourceBytes;
    QElapsedTimer m_started;
};
