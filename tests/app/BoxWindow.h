#pragma once
// The main window started against the simulated box, shared by the
// end-to-end tests of the main window and of the dialogs it opens.

#include <gtest/gtest.h>
#include <memory>

#include "BoxFixture.h"
#include "app/MainFrame.h"
#include "link/Texts.h"
#include "support/GuiTest.h"

namespace kz::test {

// Builds and shows the main window; returns once it has identified the box
// and, when asked, mounted its stick.  Call inside ASSERT_NO_FATAL_FAILURE.
inline void OpenWindowOnBox(std::unique_ptr<CMainFrame>& frame, e2e::BoxFixture& box, bool waitForStick)
{
    frame = std::make_unique<CMainFrame>();
    frame->SetQuitHandler([] {});
    ASSERT_TRUE(frame->Create(nullptr, QString::fromUtf8(kz::text::WindowTitle)));
    frame->ShowWindow();
    ASSERT_TRUE(WaitFor([&] { return frame->m_bDeviceConnected && (!waitForStick || frame->m_bUdiskMounted); },
                        20000))
        << box.BoxLog();
}

// Closes the window (it stops its adb server on the way), then the box.
inline void CloseWindowAndBox(std::unique_ptr<CMainFrame>& frame, e2e::BoxFixture& box)
{
    if (frame && !frame->IsClosed())
        frame->Close();
    ProcessEventsFor(20);
    frame.reset();
    box.Stop();
}

}  // namespace kz::test
