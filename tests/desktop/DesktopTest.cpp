// Every window on the simulated box under a dark desktop palette, offscreen or
// on the desktop with-desktop.sh starts (X11 with openbox, Wayland's weston).
#include <QAbstractItemView>
#include <QComboBox>
#include <QGuiApplication>
#include <QInputDevice>
#include <QProcess>
#include <QTest>
#include <QWindow>
#include <cmath>

#include "app/BoxWindow.h"
#include "support/GuiTest.h"
#include "platform/ProgramDir.h"
#include "ui/GuiMessageService.h"
#include "ui/GuiThread.h"

using namespace kz::test;

namespace {

double Luminance(QRgb c)  // relative, plus the flare contrast ratios add
{
    double sum = 0;
    for (auto [v, weight] : {std::pair{qRed(c), 0.2126}, {qGreen(c), 0.7152}, {qBlue(c), 0.0722}})
        sum += weight * (v <= 10 ? v / 255.0 / 12.92 : std::pow((v / 255.0 + 0.055) / 1.055, 2.4));
    return sum + 0.05;
}

// Inside rect the commonest colour is the ground, the text what stands out most.
double TextContrast(const QImage& shot, const QRect& rect)
{
    QHash<QRgb, int> counts;
    QRgb ground = shot.pixel(rect.topLeft());
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (const QRgb c = shot.pixel(x, y); ++counts[c] > counts[ground])
                ground = c;
    double best = 1;
    for (QRgb c : counts.keys())
        best = std::max({best, Luminance(c) / Luminance(ground), Luminance(ground) / Luminance(c)});
    return best;
}

// Every control that shows a text, and the first rows of every list.
void ExpectReadable(QWidget* window)
{
    ProcessEventsFor(200);  // texts and rows arrive after the window shows
    const QImage shot = window->grab().toImage();
    auto expect = [&](QWidget* w, const QRect& r) {
        if (const QRect area = QRect(w->mapTo(window, r.topLeft()), r.size()) & shot.rect(); !area.isEmpty())
            EXPECT_GE(TextContrast(shot, area), 4.5) << qPrintable(w->objectName() + " in " + window->objectName());
    };
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const QString text = w->property("text").toString() + w->property("plainText").toString() + w->property("currentText").toString();
        if (w->isVisible() && w->isEnabled() && !text.trimmed().isEmpty())
            expect(w, w->rect());
        auto* view = qobject_cast<QAbstractItemView*>(w);
        for (int row = 0; view && view->isVisible() && row < std::min(view->model()->rowCount(), 4); ++row)
            if (!view->selectionModel()->isRowSelected(row))
                expect(view->viewport(), view->visualRect(view->model()->index(row, 0)));
    }
}

QString Tool(const QString& program, const QStringList& args)  // the windows keep answering meanwhile
{
    QProcess tool;
    tool.start(program, args);
    WaitFor([&] { return tool.state() == QProcess::NotRunning; }, 10000);
    return QString::fromUtf8(tool.readAllStandardOutput());
}

QStringList At(QPoint p) { return {"mousemove", QString::number(p.x()), QString::number(p.y())}; }
bool OnX11() { return QGuiApplication::platformName() == "xcb"; }
// On X11 a click on the owner leaves the window on top, and Escape is typed.
void ClickOwnerThenEscape(QWidget* owner, QWidget* w)
{
    if (!OnX11()) {
        QWidget* focus = QApplication::focusWidget();
        return QTest::keyClick(focus && focus->window() == w ? focus : w, Qt::Key_Escape);
    }
    Tool("xdotool", At(owner->mapToGlobal(QPoint(8, owner->height() - 8))) << "click" << "1");
    ProcessEventsFor(200);
    const QString stack = Tool("xprop", {"-root", "_NET_CLIENT_LIST_STACKING"}).trimmed() + ',';
    auto at = [&](QWidget* x) { return stack.indexOf(QStringLiteral("0x%1,").arg(x->winId(), 0, 16)); };
    EXPECT_GT(at(w), at(owner)) << qPrintable(stack);
    EXPECT_TRUE(WaitFor([&] { return w->isActiveWindow(); })) << "the keyboard stays with the blocked owner";
    Tool("xdotool", {"key", "Escape"});
}

// Opens a window and checks it once it runs no device command (it takes no
// input meanwhile): owner, texts, what it opens in turn, Escape.
void Visit(QWidget* owner, const std::function<void()>& open, const char* control, bool escapeCloses,
           const std::function<void(QWidget*)>& inner = {})
{
    bool seen = false;
    WhenWindowShows(control, [&](QWidget* w) { kz::ui::RunOnGui(w, [&, w] {
        seen = true;
        EXPECT_EQ(w->windowHandle()->transientParent(), owner->windowHandle()) << control;
        ExpectReadable(w);
        if (inner)
            inner(w);
        ClickOwnerThenEscape(owner, w);
        EXPECT_EQ(WaitFor([&] { return !w->isVisible(); }, 2000), escapeCloses) << control;
        if (w->isVisible())
            ClickButton(w, "closebtn");
    }); });
    open();
    EXPECT_TRUE(WaitFor([&] { return seen; }, 12000)) << control;
}

// Escape closes an open menu or list alone, even sent to the window under it.
void ExpectMenu(QWidget* window, const std::function<void()>& open, const char* item)
{
    if (QGuiApplication::platformName() == "wayland" && QInputDevice::devices().isEmpty())
        return;  // weston's headless seat shows up late; Qt 6.4 crashes opening a popup before it
    open();
    ASSERT_TRUE(WaitFor([&] { auto* p = QApplication::activePopupWidget(); return p && p->findChild<QWidget*>(item); })) << item;
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_TRUE(WaitFor([] { return !QApplication::activePopupWidget(); }) && window->isVisible()) << item;
}


std::function<void()> Click(QWidget* window, const char* button) { return [=] { ClickButton(window, button); }; }
std::function<void()> Key(QWidget* w, Qt::Key key, Qt::KeyboardModifiers m = {}) { return [=] { QTest::keyClick(w, key, m); }; }

}  // namespace

class Desktop : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!qEnvironmentVariableIsEmpty("KZ_DESKTOP_MISSING"))
            GTEST_SKIP() << "no desktop: " << qgetenv("KZ_DESKTOP_MISSING").constData();
        QApplication::setPalette(QPalette(QColor(0x35, 0x35, 0x35)));  // light texts on dark grounds
        qputenv("LC_ALL", "en_US.UTF-8");
        kz::SetProgramDirectoryForTests(QStringLiteral(KZ_BIN_DIR));
        ASSERT_TRUE(box.Start(error)) << error;
        kz::SetMessageService(&messages);
        ASSERT_NO_FATAL_FAILURE(OpenWindowOnBox(frame, box, true));
        main = frame->GetHWND();
    }
    void TearDown() override
    {
        CloseWindowAndBox(frame, box);
        kz::SetMessageService(nullptr);
    }
    std::function<void()> Send(uint message) { return [this, message] { frame->SendMessage(message); }; }

    std::string error;
    e2e::BoxFixture box;
    kz::ui::GuiMessageService messages;
    std::unique_ptr<CMainFrame> frame;
    QWidget* main = nullptr;
};

TEST_F(Desktop, EveryWindowIsOwnedReadableAndAnswersItsKeys)
{
    if (OnX11()) {  // the skin's caption is the window's only one, and moves it
        const QStringList extents{"-id", QString::number(main->winId()), "_NET_FRAME_EXTENTS"};
        ASSERT_TRUE(WaitFor([&] { return Tool("xprop", extents).contains('='); })) << "openbox never managed the window";
        EXPECT_TRUE(Tool("xprop", extents).contains("= 0, 0, 0, 0")) << qPrintable(Tool("xprop", extents));
        const QPoint before = main->pos();
        Tool("xdotool", At(main->findChild<QWidget*>("label_title")->mapToGlobal(QPoint(4, 4))) + QStringList{"mousedown", "1",
            "sleep", "0.3", "mousemove_relative", "40", "20", "sleep", "0.2", "mousemove_relative", "60", "40", "sleep", "0.3", "mouseup", "1"});
        EXPECT_TRUE(WaitFor([&] { return main->pos() - before == QPoint(100, 60); }, 3000)) << (main->pos() - before).x();
    }
    Visit(main, Send(WM_MENU_SETTING), "comb_language", true, [](QWidget* settings) {
        ExpectMenu(settings, [=] { settings->findChild<QComboBox*>()->showPopup(); }, "qt_scrollarea_viewport");
    });
    Visit(main, Send(WM_MENU_ABOUT), "btn_connectme", true);
    Visit(main, Send(WM_MENU_UPDATE), "edit_password", true);
    Visit(main, Click(main, "btn_mtx"), "qt_msgbox_label", true);
    Visit(main, Click(main, "btn_readInfo"), "edit_emmcinfo", false);
    Visit(main, Click(main, "btn_copytoSDcard"), "btn_copy", true, [](QWidget* manager) {
        Visit(manager, Click(manager, "btn_copy"), "qt_msgbox_label", true);  // nothing chosen
        auto* list = manager->findChild<QAbstractItemView*>("file");
        list->setCurrentIndex(list->model()->index(0, 0));
        ExpectMenu(manager, Key(list, Qt::Key_Menu), "menu_rename");
        ExpectMenu(manager, Key(list, Qt::Key_F10, Qt::ShiftModifier), "menu_rename");
    });
    Visit(main, Click(main, "btn_motherBoard"), "option_info", true, [](QWidget* board) {
        Visit(board, Click(board, "btn_browseboot1"), "btn_copy", true);
        // Cancelling the name dialog is answered by the board's "no name" message.
        Visit(board, [&] { Visit(board, Click(board, "btn_readboot1"), "edit_filename", true); }, "qt_msgbox_label", true);
    });
    ExpectMenu(main, Key(main, Qt::Key_F10), "menu_setting");
    ExpectMenu(main, Key(main, Qt::Key_Menu), "menu_setting");
}
