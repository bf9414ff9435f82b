#include "master/Loading.h"

#include <QTimer>
#include <thread>

#include "app/MainFrame.h"
#include "app/core/DeviceActions.h"
#include "master/PlaceholderNote.h"
#include "ui/GuiThread.h"

namespace {
CLoading* g_current = nullptr;
// A chip tool that never answers does not keep the dialog open for ever.
constexpr int kGiveUpMs = 1000 * 1000;
}  // namespace

CLoading::CLoading(CMainFrame* owner) : m_owner(owner)
{
    g_current = this;
}

CLoading::~CLoading()
{
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
        WindowImplBase::Notify(msg);
}

void CLoading::OnWindowInit()
{
    kz::AddPlaceholderNote(GetHWND(), QStringLiteral("Minimal loading dialog: the animated one comes in a later version."));
    StartWorker();
    QTimer::singleShot(kGiveUpMs, this, [this] { Close(kz::ui::kResultOk); });
}

void CLoading::StartWorker()
{
    // The answer and the close request reach the GUI thread together, so the
    // main window reads the answer only after it is stored.  After an early
    // close the answer is still kept (the next read may be judged on it) and
    // the close request finds no dialog; if the main window itself is gone,
    // both are dropped.
    QPointer<CMainFrame> owner(m_owner);
    QPointer<CLoading> self(this);
    std::thread([owner, self] {
        QString output;
        RunAdbCommand(QString::fromUtf8(kz::kChipInfoCommand), output);
        kz::ui::RunOnGui(nullptr, [owner, self, output] {
            if (owner)
                owner->SetChipInfoOutput(output);
            if (self)
                self->Close(kz::ui::kResultOk);
        });
    }).detach();
}
