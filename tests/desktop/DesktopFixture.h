#pragma once
// The main window on the simulated box with the real message boxes, on the
// desktop the test program was started on (see with-desktop.sh).

#include <QWindow>

#include "app/BoxWindow.h"
#include "board/WhenWindowShows.h"
#include "platform/ProgramDir.h"
#include "ui/GuiMessageService.h"
#include "ui/GuiThread.h"

namespace kz::test {

// As WhenWindowShows, once no device command of the window is in flight
// (meanwhile the window takes no input).
inline void WhenSettled(const char* control, std::function<void(QWidget*)> answer)
{
    WhenWindowShows(control, [answer](QWidget* w) { kz::ui::RunOnGui(w, [answer, w] { answer(w); }); });
}

class DesktopFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!qEnvironmentVariableIsEmpty("KZ_DESKTOP_MISSING"))
            GTEST_SKIP() << "no desktop: " << qgetenv("KZ_DESKTOP_MISSING").constData();
        qputenv("LC_ALL", "en_US.UTF-8");
        kz::SetProgramDirectoryForTests(QStringLiteral(KZ_BIN_DIR));
        std::string error;
        ASSERT_TRUE(box.Start(error)) << error;
        previous = kz::SetMessageService(&messages);
        ASSERT_NO_FATAL_FAILURE(OpenWindowOnBox(frame, box, true));
        main = frame->GetHWND();
    }
    void TearDown() override
    {
        CloseWindowAndBox(frame, box);
        kz::SetMessageService(previous);
        kz::SetProgramDirectoryForTests(QString());
    }

    e2e::BoxFixture box;
    kz::ui::GuiMessageService messages;
    kz::IMessageService* previous = nullptr;
    std::unique_ptr<CMainFrame> frame;
    QWidget* main = nullptr;
};

}  // namespace kz::test
