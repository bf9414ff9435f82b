// Every window the program opens, on the simulated box under a dark desktop
// palette: each is owned by its opener (the window system keeps it above that
// window and centres it there), its texts stay readable, its keys act as
// the window promises.
#include <QAbstractItemView>
#include <QComboBox>
#include <QGuiApplication>
#include <QInputDevice>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTest>
#include <cmath>

#include "desktop/DesktopFixture.h"

using namespace kz::test;

namespace {

double Luminance(QRgb c)
{
    double sum = 0;
    for (auto [value, weight] : {std::pair{qRed(c), 0.2126}, {qGreen(c), 0.7152}, {qBlue(c), 0.0722}}) {
        const double s = value / 255.0;
        sum += weight * (s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4));
    }
    return sum;
}

// The commonest colour in rect is the background, the text is the colour
// that stands out most from it.
double TextContrast(const QImage& shot, const QRect& rect)
{
    QHash<QRgb, int> counts;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            ++counts[shot.pixel(x, y)];
    const double back = Luminance(std::max_element(counts.keyValueBegin(), counts.keyValueEnd(),
                                                   [](auto a, auto b) { return a.second < b.second; })->first);
    double best = 1;
    for (QRgb c : counts.keys())
        best = std::max(best, (std::max(Luminance(c), back) + 0.05) / (std::min(Luminance(c), back) + 0.05));
    return best;
}

void ExpectReadable(QWidget* window)
{
    ProcessEventsFor(200);  // texts and rows arrive after the window shows
    const QImage shot = window->grab().toImage();
    auto expect = [&](QWidget* w, const QRect& r) {
        const QRect area = QRect(w->mapTo(window, r.topLeft()), r.size()) & shot.rect();
        if (!area.isEmpty())  // a row scrolled out of sight
            EXPECT_GE(TextContrast(shot, area), 4.5) << qPrintable(w->objectName() + " in " + window->objectName());
    };
    for (QWidget* w : window->findChildren<QWidget*>()) {
        auto* label = qobject_cast<QLabel*>(w);
        auto* edit = qobject_cast<QLineEdit*>(w);
        auto* view = qobject_cast<QAbstractItemView*>(w);
        if (!w->isVisible() || !w->isEnabled())
            continue;
        if ((label && !label->text().trimmed().isEmpty()) || (edit && !edit->text().isEmpty())
            || qobject_cast<QProgressBar*>(w) || qobject_cast<QPlainTextEdit*>(w))
            expect(w, w->rect());
        for (int row = 0; view && row < std::min(view->model()->rowCount(), 4); ++row)
            if (!view->selectionModel()->isRowSelected(row))
                expect(view->viewport(), view->visualRect(view->model()->index(row, 0)));
    }
}

// Opens a window and checks it: owned by owner, readable, what it opens in
// turn (inner), and whether Escape closes it.
void Visit(QWidget* owner, const std::function<void()>& open, const char* control, bool escapeCloses,
           const std::function<void(QWidget*)>& inner = {})
{
    bool seen = false;
    WhenSettled(control, [&](QWidget* w) {
        seen = true;
        EXPECT_EQ(w->windowHandle()->transientParent(), owner->windowHandle()) << control;
        ExpectReadable(w);
        if (inner)
            inner(w);
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus && focus->window() == w ? focus : w, Qt::Key_Escape);
        EXPECT_EQ(WaitFor([&] { return !w->isVisible(); }, 1000), escapeCloses) << control;
        if (w->isVisible())
            ClickButton(w, "closebtn");
    });
    open();
    EXPECT_TRUE(WaitFor([&] { return seen; }, 12000)) << control;
}

// A menu or list that opens shows its item; Escape closes it alone, also
// where the window system hands the key to the window under it.
void ExpectMenu(QWidget* window, const std::function<void()>& open, const char* item)
{
    if (QGuiApplication::platformName() == "wayland" && QInputDevice::devices().isEmpty())
        return;  // weston's headless seat shows up late; Qt 6.4 crashes opening a popup before it
    open();
    ASSERT_TRUE(WaitFor([&] { QWidget* p = QApplication::activePopupWidget(); return p && p->findChild<QWidget*>(item); }))
        << item;
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_TRUE(WaitFor([] { return !QApplication::activePopupWidget(); }) && window->isVisible()) << item;
}

std::function<void()> Click(QWidget* window, const char* button) { return [=] { ClickButton(window, button); }; }
std::function<void()> Key(QWidget* w, Qt::Key key, Qt::KeyboardModifiers m = {}) { return [=] { QTest::keyClick(w, key, m); }; }

}  // namespace

class DesktopWindows : public DesktopFixture {
protected:
    void SetUp() override
    {
        QPalette dark(QColor(0x35, 0x35, 0x35));  // light texts on dark grounds
        dark.setColor(QPalette::Base, QColor(0x20, 0x20, 0x20));
        QApplication::setPalette(dark);
        DesktopFixture::SetUp();
    }
    void TearDown() override
    {
        DesktopFixture::TearDown();
        QApplication::setPalette(QPalette());
    }
    std::function<void()> Send(uint message) { return [this, message] { frame->SendMessage(message); }; }
};

TEST_F(DesktopWindows, EveryWindowIsOwnedReadableAndAnswersItsKeys)
{
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
