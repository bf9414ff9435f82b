#pragma once
// The common part of the READ USER and MTX dialogs: each runs one chip-tool
// command at initialisation and shows its output while it runs.
//
// While the command runs ("done" clear) the button is disabled and shows the
// busy word, and the close button asks "Are you sure to stop ？！" first;
// Escape closes at once.  Closing during a run only closes the window: the
// box's tool and the client go on to their end (see StreamingCommand), and
// output arriving later is dropped.

#include <QPointer>
#include <QString>
#include <memory>

#include "app/OutcomeLog.h"
#include "ui/WindowImplBase.h"

class CMainFrame;
#include <QAbstractButton>

namespace kz::master {
class StreamingCommand;
}

class CStreamingDialog : public kz::ui::WindowImplBase {
    Q_OBJECT
public:
    explicit CStreamingDialog(CMainFrame* owner);
    ~CStreamingDialog() override;

    void Notify(kz::ui::TNotifyUI& msg) override;
    void OnFinalMessage() override;

    // Ends the hand-over of output to this dialog (the client runs on).
    virtual void StopStreaming();

    // False while the command runs.
    bool IsDone() const { return m_done; }
    // The command has ended and its outcome is shown.
    bool HasFinished() const { return m_finished; }

protected:
    struct RunPlan {
        const char* command;   // client command line
        int chunkBytes;        // bytes per piece of output
        const char* titleKey;  // title text
        const char* busyKey;   // button text while running
    };
    virtual RunPlan Plan() const = 0;
    // Controls of the derived dialog, found at initialisation.
    virtual void InitControls() {}
    // GUI thread: one piece of output.
    virtual void OnPiece(const QString& piece) = 0;
    // GUI thread: the client has exited; every piece was shown.  The base
    // then enables the button and sets done.
    virtual void OnFinished() = 0;

    QString Text(const char* key) const;
    QAbstractButton* OkButton() const { return m_ok; }
    // Records the run's outcome (before any box about it): the verdict's
    // English text, and on failure the tool's last words as a tip.
    void RecordOutcome(const QString& operation, bool ok, const char* key, const QString& output) const;

private:
    void OnWindowInit();
    void StartCommand();
    void OnClose();
    void EndRun();

    CMainFrame* m_owner;
    QPointer<QAbstractButton> m_ok;
    bool m_done = true;
    bool m_finished = false;
    std::shared_ptr<kz::master::StreamingCommand> m_run;
};
