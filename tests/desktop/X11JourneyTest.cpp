// The program under an X11 window manager (openbox), driven through the X
// server as a user would: the skin's caption is the window's only caption and
// moves it, a click on the main window leaves its modal dialog on top, and
// Escape closes the file manager.
#include <QProcess>

#include "desktop/DesktopFixture.h"

using namespace kz::test;

namespace {

// A desktop tool's output; the windows keep answering while it runs.
QString Tool(const QString& program, const QStringList& args)
{
    QProcess tool;
    tool.start(program, args);
    WaitFor([&] { return tool.state() == QProcess::NotRunning; }, 10000);
    return QString::fromUtf8(tool.readAllStandardOutput());
}

QStringList At(QPoint p) { return {"mousemove", QString::number(p.x()), QString::number(p.y())}; }

}  // namespace

class DesktopX11 : public DesktopFixture {};

TEST_F(DesktopX11, OneCaptionThatMovesModalDialogOnTopEscapeClosesTheFileManager)
{
    const QStringList extents{"-id", QString::number(main->winId()), "_NET_FRAME_EXTENTS"};
    ASSERT_TRUE(WaitFor([&] { return Tool("xprop", extents).contains('='); })) << "openbox never managed the window";
    EXPECT_TRUE(Tool("xprop", extents).contains("= 0, 0, 0, 0")) << qPrintable(Tool("xprop", extents));

    const QPoint before = main->pos();
    QWidget* title = main->findChild<QWidget*>("label_title");
    Tool("xdotool", At(title->mapToGlobal(QPoint(4, 4))) + QStringList{"mousedown", "1", "sleep", "0.3", "mousemove_relative",
        "40", "20", "sleep", "0.2", "mousemove_relative", "60", "40", "sleep", "0.3", "mouseup", "1"});
    EXPECT_TRUE(WaitFor([&] { return (main->pos() - before - QPoint(100, 60)).manhattanLength() <= 4; }, 3000))
        << "moved by " << (main->pos() - before).x() << "," << (main->pos() - before).y();

    WhenSettled("comb_language", [&](QWidget* settings) {
        ProcessEventsFor(300);
        Tool("xdotool", At(main->mapToGlobal(QPoint(30, main->height() - 30))) << "click" << "1");
        ProcessEventsFor(300);
        const QString stack = Tool("xprop", {"-root", "_NET_CLIENT_LIST_STACKING"}).trimmed() + ',';
        auto at = [&](QWidget* w) { return stack.indexOf(QStringLiteral("0x%1,").arg(w->winId(), 0, 16)); };
        EXPECT_GT(at(settings), at(main)) << qPrintable(stack);
        ClickButton(settings, "closebtn");
    });
    frame->SendMessage(WM_MENU_SETTING);

    WhenSettled("btn_copy", [&](QWidget* manager) {
        ASSERT_TRUE(WaitFor([&] { return manager->isActiveWindow(); }));
        Tool("xdotool", {"key", "Escape"});
        EXPECT_TRUE(WaitFor([&] { return !manager->isVisible(); }, 3000));
        if (manager->isVisible())
            ClickButton(manager, "closebtn");
    });
    ClickButton(main, "btn_copytoSDcard");
}
