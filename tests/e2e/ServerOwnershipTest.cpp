// Whose adb server the program stops: a server another tool started before
// the program stays up through the file manager's close and the program's
// end; a server the program started itself is stopped as it ends.
#include <gtest/gtest.h>

#include "FileManagerBoxFixture.h"
#include "tools/kz_daemon/ServerProbe.h"

using namespace kz::test;

namespace {

bool ServerListens(uint16_t port) { return kz::adapter::ServerListens(port, std::chrono::milliseconds(500)); }

void CloseWindow(std::unique_ptr<CMainFrame>& frame)
{
    frame->Close();
    ProcessEventsFor(20);
    frame.reset();
}

class ServerOwnership : public MainFrameFixture {};

}  // namespace

// The fixture's server was started with a plain `adb start-server` before the
// window was built: another tool's.
TEST_F(FileManagerBox, AServerRunningBeforehandOutlivesTheFileManagerAndTheProgram)
{
    const uint16_t port = box.Server().Port();
    WhenModal([](QWidget* m) { return FilesGui::RowCount(m) > 0; },
              [](QWidget* modal) { ClickButton(modal, "closebtn"); });
    OpenFileManager(frame.get(), COPY_UDISK_TO_SDCARD);
    EXPECT_TRUE(ServerListens(port)) << "closing the file manager stopped it";
    CloseWindow(frame);
    EXPECT_TRUE(ServerListens(port)) << "the program's end stopped it";
    EXPECT_EQ(box.Server().StateOf(box.Serial()), "device");
}

TEST_F(ServerOwnership, AServerTheProgramStartedStopsWithTheProgram)
{
    const uint16_t port = e2e::FreeTcpPort();
    qputenv("ANDROID_ADB_SERVER_PORT", QByteArray::number(port));
    qputenv("ADB_LOCAL_TRANSPORT_MAX_PORT", "5553");  // no scan of other tests' boxes
    e2e::Watchdog watchdog;  // stops the server should the test die first
    ASSERT_TRUE(watchdog.Start(port));
    kz::SetProgramDirectoryForTests(QStringLiteral(KZ_BIN_DIR));
    frame = std::make_unique<CMainFrame>();
    frame->SetQuitHandler([] {});
    EXPECT_TRUE(ServerListens(port)) << "the window's start started no server";
    CloseWindow(frame);
    EXPECT_FALSE(ServerListens(port)) << "the server the program started outlived it";
}
