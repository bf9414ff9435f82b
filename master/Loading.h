#pragma once
// The small animated dialog shown while the chip information is read.
//
// Three workers: the animation worker shows the next frame every 100 ms while
// the dialog is open; the command worker starts the inner worker, which runs
// the chip-information command and leaves its answer in the main window, and
// closes the dialog when the inner worker has ended or after 1,000 seconds.
// An early close (close button, Escape) stops the animation but not the
// command: its answer is still stored when it comes (under this dialog's
// read, so it is never taken for a newer read's answer), and the close
// request that follows finds no dialog.  The adb server is left running
// afterwards.

#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QVector>
#include <memory>

#include "link/ChipInfoReads.h"
#include "master/core/LoadingFrames.h"
#include "ui/WindowImplBase.h"

class CMainFrame;

namespace kz::master {
class Latch;
}

class CLoading : public kz::ui::WindowImplBase {
    Q_OBJECT
public:
    explicit CLoading(CMainFrame* owner, kz::master::LoadingTiming timing = {});
    ~CLoading() override;

    // The loading dialog shown now, if any.
    static CLoading* Current();

    QString GetWindowClassName() const override { return QStringLiteral("eMMCInfo"); }
    QString GetSkinFile() const override { return QStringLiteral("loading.xml"); }
    void Notify(kz::ui::TNotifyUI& msg) override;
    void OnFinalMessage() override;

    // The chip-information read this dialog shows (its answer is stored in
    // the main window under this number).
    kz::ChipInfoReads::ReadId Read() const { return m_read; }

    // The frame shown now (0 before the first).
    int CurrentFrame() const { return m_frame; }

private:
    void OnWindowInit();
    void ShowFrame(int frame);
    void StartCommandWorker();
    void StartAnimationWorker();

    CMainFrame* m_owner;
    kz::master::LoadingTiming m_timing;
    kz::ChipInfoReads::ReadId m_read;
    QPointer<QLabel> m_show;
    QVector<QPixmap> m_frames;  // index frame - 1
    int m_frame = 0;
    std::shared_ptr<kz::master::Latch> m_closed;
};
