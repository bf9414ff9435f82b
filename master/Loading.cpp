#include "master/Loading.h"

#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
#include <thread>

#include "app/MainFrame.h"
#include "app/core/DeviceActions.h"
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
    if (!FindControl(QStringLiteral("text_show")) && GetHWND()) {
        auto* label = new QLabel(QStringLiteral("Reading the chip information ...\n"
                                                "(the animated loading dialog comes in a later version)"),
                                 GetHWND());
        label->setAlignment(Qt::AlignCenter);
        if (!GetHWND()->layout())
            new QVBoxLayout(GetHWND());
        GetHWND()->layout()->addWidget(label);
    }
    StartWorker();
    QTimer::singleShot(kGiveUpMs, this, [this] { Close(kz::ui::kResultOk); });
}

void CLoading::StartWorker()
{
    // The worker outlives an early close: the main window keeps the answer,
    // and the close request it sends to a dialog that is gone is dropped.
    CMainFrame* owner = m_owner;
    std::thread([owner, self = QPointer<CLoading>(this)] {
        QString output;
        RunAdbCommand(QString::fromUtf8(kz::kChipInfoCommand), output);
        owner->SetChipInfoOutput(output);
        kz::ui::RunOnGui(nullptr, [self] {
            if (self)
                self->Close(kz::ui::kResultOk);
        });
    }).detach();
}
