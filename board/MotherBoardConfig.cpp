// Changing one boot-configuration value of the chip.  A short command on
// the GUI thread: the window keeps painting its busy caption but takes no
// input until the box has answered.
#include <QAbstractButton>
#include <QComboBox>

#include "app/MainFrame.h"
#include "link/Texts.h"
#include "board/MotherBoard.h"
#include "board/core/BoardCommands.h"
#include "board/core/BoardTexts.h"

void CMotherBoard::ApplyBootSetting(kz::board::BootSetting setting, const char* buttonName, const char* comboName)
{
    namespace text = kz::board::text;
    auto* button = FindControl<QAbstractButton>(QString::fromUtf8(buttonName));
    if (!button || !m_pOwner)
        return;
    button->setEnabled(false);
    button->setText(Text(text::Modifying));
    button->repaint();
    auto* combo = FindControl<QComboBox>(QString::fromUtf8(comboName));
    const QString command = kz::board::ConfigureBootCommand(setting, combo ? combo->currentIndex() : -1);
    // Nothing chosen is nothing set; a client that did not start set nothing.
    const kz::ClientAnswer answer = command.isEmpty() ? kz::ClientAnswer{} : m_pOwner->RunShortClient(command);
    const bool set = answer.started && kz::board::IsConfigureSuccess(answer.output);
    const char* key = set ? text::SetOk : text::SetFailed;
    std::vector<kz::LogNote> notes = kz::VerdictNotes(set, Text(key), key, QStringLiteral("configure-boot"),
                                                      answer.started ? answer.output : answer.failure);
    notes.front().tag.extra = {{QStringLiteral("command"), command}};
    Outcomes().RecordOnly(std::move(notes));
    Prompt(Text(key));
    button->setEnabled(true);
    button->setText(Text(text::Modify));
}
