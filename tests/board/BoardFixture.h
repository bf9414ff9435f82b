#pragma once
// A board dialog over a main window that talks to the scripted client.

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <memory>
#include <ostream>

#include "platform/CommandLine.h"

#include "support/MainFrameFixture.h"
#include "board/MotherBoard.h"
#include "support/GuiTest.h"

// Readable failure output for texts.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace kz::test {

// A command line as the scripted client records it (and keys its answers):
// the arguments after splitting, joined by blanks.
inline QString AsCalled(const QString& commandLine)
{
    return kz::SplitWindowsCommandLine(commandLine).join(u' ');
}

class BoardFixture : public MainFrameFixture {
protected:
    BoardFixture();
    ~BoardFixture() override;

    // Builds, fills and shows the dialog (not modally); returns after its
    // "windowinit" has run.
    void OpenBoard(const QString& chipReport = {});

    template <class T = QWidget>
    T* Ctl(const char* name) const
    {
        return board->FindControl<T>(QString::fromUtf8(name));
    }
    QString TextOf(const char* name) const { return kz::ui::GetControlText(Ctl(name)); }
    void SetText(const char* name, const QString& text) { kz::ui::SetControlText(Ctl(name), text); }
    void Click(const char* name) { ClickButton(board->GetHWND(), QString::fromUtf8(name)); }
    void Select(const char* combo, int index) { Ctl<QComboBox>(combo)->setCurrentIndex(index); }
    // Waits until every transfer has reported and its buttons came back.
    bool WaitForWorkers();
    // Calls of the client other than those of the main window's start-up.
    QStringList BoardCalls() const;

    std::unique_ptr<CMotherBoard> board;
    // What the scripted pickers hand back, and how they were called.
    QString nextPick;
    QString nextTypedName;
    QList<int> pickModes;
    int nameDialogs = 0;
};

// The read-back every boot write of these tests makes on the SD card.
inline QString ReadBackOf(int boot)
{
    return QStringLiteral(".kz-readback-boot%1-test.bin").arg(boot);
}

// "Complete successfully" as the tool prints it through the client.
inline constexpr char kComplete[] = "writing BOOT1 (4 bytes) from x\r\r\nComplete successfully\r\r\n";

}  // namespace kz::test
