#include "master/Loading.h"

#include <QLabel>
#include <chrono>
#include <system_error>
#include <thread>

#include "app/MainFrame.h"
#include "link/DeviceActions.h"
#include "master/core/Latch.h"
#include "master/core/LoadingFrames.h"
#include "ui/GuiThread.h"
#include "ui/SkinLoader.h"

using kz::master::Latch;

namespace {
CLoading* g_current = nullptr;

// Inner worker.  It starts the adb server in case another window stopped it,
// and leaves it running afterwards for the windows that follow.  The answer
// reaches the main window on the GUI thread, under the number of its read.
void ReadChipInfo(QPointer<CMainFrame> owner, kz::ChipInfoReads::ReadId read)
{
    QString ignored;
    RunAdbCommand(QStringLiteral("start-server"), ignored);
    const kz::ClientAnswer answer = kz::RunAdbClient(QString::fromUtf8(kz::kChipInfoCommand));
    kz::ui::RunOnGui(owner, [owner, read, answer] { owner->StoreChipInfoAnswer(read, answer); });
}

// Command worker: closes the dialog once the answer is stored, or when the
// tool has not answered in time (the inner worker then runs on).  The close
// is handed to the GUI thread behind the answer, so the dialog never closes
// ahead of an answer already on its way.
void RunCommandWorker(QPointer<CMainFrame> owner, QPointer<kz::ui::WindowImplBase> dialog,
                      kz::ChipInfoReads::ReadId read, std::chrono::milliseconds giveUp)
{
    auto answered = std::make_shared<Latch>();
    try {
        std::thread([owner, read, answered] {
            ReadChipInfo(owner, read);
            answered->Set();
        }).detach();
        answered->WaitFor(giveUp);
    } catch (const std::system_error&) {
        // No thread to read with: nothing to wait for.
    }
    kz::ui::RunOnGui(dialog, [dialog] { dialog->Close(kz::ui::kResultOk); });
}

}  // namespace

CLoading::CLoading(CMainFrame* owner, kz::master::LoadingTiming timing)
    : m_owner(owner),
      m_timing(timing),
      m_read(owner ? owner->BeginChipInfoRead() : 0),
      m_closed(std::make_shared<Latch>())
{
    g_current = this;
}

CLoading::~CLoading()
{
    m_closed->Set();
    if (g_current == this)
        g_current = nullptr;
}

CLoading* CLoading::Current()
{
    return g_current;
}

void CLoading::Notify(kz::ui::TNotifyUI& msg)
{
    if (kz::ui::NotifyTypeIs(msg, kz::ui::kNotifyWindowInit))
        OnWindowInit();
    else
        WindowImplBase::Notify(msg);  // "closebtn" closes, "minbtn" minimises
}

void CLoading::OnFinalMessage()
{
    m_closed->Set();
}

void CLoading::OnWindowInit()
{
    m_show = FindControl<QLabel>(QStringLiteral("text_show"));
    for (int frame = 1; frame <= kz::master::kLoadingFrameCount; ++frame)
        m_frames << QPixmap(kz::ui::SkinFilePath(kz::master::LoadingFrameFile(frame)));
    StartCommandWorker();
    StartAnimationWorker();
}

void CLoading::ShowFrame(int frame)
{
    if (IsClosed())
        return;
    m_frame = frame;
    if (m_show)
        m_show->setPixmap(m_frames.value(frame - 1));
}

void CLoading::StartCommandWorker()
{
    QPointer<CMainFrame> owner(m_owner);
    QPointer<WindowImplBase> self(this);
    const auto giveUp = std::chrono::milliseconds(m_timing.giveUpMs);
    try {
        std::thread(RunCommandWorker, owner, self, m_read, giveUp).detach();
    } catch (const std::system_error&) {
        Close(kz::ui::kResultOk);  // no thread to read with: nothing to wait for
    }
}

void CLoading::StartAnimationWorker()
{
    QPointer<CLoading> self(this);
    std::shared_ptr<Latch> closed = m_closed;
    const auto interval = std::chrono::milliseconds(m_timing.frameMs);
    try {
        std::thread([self, closed, interval] {
            int frame = 1;
            do {
                kz::ui::RunOnGui(self, [self, frame] { self->ShowFrame(frame); });
                frame = kz::master::NextLoadingFrame(frame);
            } while (!closed->WaitFor(interval));
        }).detach();
    } catch (const std::system_error&) {
        ShowFrame(1);  // a still picture is enough
    }
}
