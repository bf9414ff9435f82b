#include "master/EmmcInfo.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "app/MainFrame.h"
#include "app/core/Texts.h"
#include "master/PlaceholderNote.h"

CEmmcInfo::CEmmcInfo(CMainFrame* owner, QString text) : m_owner(owner), m_text(std::move(text)) {}

void CEmmcInfo::Notify(kz::ui::TNotifyUI& msg)
{
    if (kz::ui::NotifyTypeIs(msg, kz::ui::kNotifyWindowInit))
        OnWindowInit();
    else
        WindowImplBase::Notify(msg);
}

void CEmmcInfo::OnWindowInit()
{
    if (!FindControl(QStringLiteral("edit_emmcinfo")))
        BuildFallbackControls();
    kz::AddPlaceholderNote(GetHWND(), QStringLiteral("Minimal chip-information dialog: the full one comes in a later version."));
    kz::ui::SetControlText(FindControl(QStringLiteral("edit_emmcinfo")), m_text);
    kz::ui::SetControlText(FindControl(QStringLiteral("text_title")), m_owner->Text(kz::text::ChipInfoTitle));
}

// Until the dialog's own skin exists, a plain layout under the same names.
void CEmmcInfo::BuildFallbackControls()
{
    QWidget* window = GetHWND();
    if (!window)
        return;
    auto* layout = window->layout() ? window->layout() : new QVBoxLayout(window);
    auto* title = new QLabel(window);
    title->setObjectName(QStringLiteral("text_title"));
    auto* edit = new QPlainTextEdit(window);
    edit->setObjectName(QStringLiteral("edit_emmcinfo"));
    edit->setReadOnly(true);
    layout->addWidget(title);
    layout->addWidget(edit);
    window->resize(560, 420);
}
