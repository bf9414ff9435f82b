// The About box: closing, self-release and the web site link.
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>

#include "support/MainFrameFixture.h"
#include "settings/AboutDlg.h"
#include "support/FakeOpener.h"

using namespace kz::test;

namespace {

QPointer<CAbout> OpenAbout()
{
    auto* about = new CAbout;
    about->Create(nullptr, QStringLiteral("关于"));
    about->ShowWindow();
    return about;
}

// The skins of the build, found through a fake program folder.
class AboutDialog : public ::testing::Test {
protected:
    FakeBin bin;
};

}  // namespace

TEST_F(AboutDialog, EachCloseReleasesIt)
{
    for (const char* button : {"btn_ok", "closebtn"}) {
        QPointer<CAbout> about = OpenAbout();
        ClickButton(about->GetHWND(), QString::fromLatin1(button));
        EXPECT_TRUE(WaitFor([&] { return about.isNull(); })) << button;
    }
    QPointer<CAbout> about = OpenAbout();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(about->GetHWND(), &escape);
    EXPECT_TRUE(WaitFor([&] { return about.isNull(); }));
}

TEST_F(AboutDialog, ConnectMeOpensTheWebSiteAndStaysOpen)
{
    FakeOpener opener;
    QPointer<CAbout> about = OpenAbout();
    ClickButton(about->GetHWND(), QStringLiteral("btn_connectme"));
    ASSERT_TRUE(WaitFor([&] { return !opener.Opened().isEmpty(); }));
    EXPECT_EQ(opener.Opened(), CAbout::WebSiteAddress() + u'\n');
    EXPECT_TRUE(CAbout::WebSiteAddress().startsWith(QStringLiteral("https://")));
    ASSERT_FALSE(about.isNull());
    EXPECT_TRUE(about->GetHWND()->isVisible());
    about->Close();
    EXPECT_TRUE(WaitFor([&] { return about.isNull(); }));
}

class AboutFromMenu : public MainFrameFixture {};

TEST_F(AboutFromMenu, MainMenuOpensItWithoutABox)
{
    Start(kNoDevice);
    TEST_MODAL({
        EXPECT_EQ(modal->property("kz_window_class").toString(), QStringLiteral("About"));
        EXPECT_EQ(modal->windowTitle(), QStringLiteral("关于"));
        ClickButton(modal, QStringLiteral("btn_ok"));
    });
    frame->PostMessage(WM_MENU_ABOUT);
    ASSERT_TRUE(WaitFor([] { return QApplication::activeModalWidget() == nullptr; }));
    ProcessEventsFor(50);
    EXPECT_EQ(boxes.Count(), 0);
}
