#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <atomic>
#include <thread>

#include "TestSkin.h"
#include "support/GuiTest.h"
#include "ui/CallbackListModel.h"
#include "ui/GuiThread.h"
#include "ui/Markup.h"

using kz::test::WaitFor;
using kz::uitest::RecordingWindow;
using namespace kz::ui;

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(window.Create(nullptr, QStringLiteral("Caption"))); }
    void Show()
    {
        window.ShowWindow();
        ASSERT_TRUE(WaitFor([&] { return window.notes.contains(QStringLiteral("windowinit:root")); }));
        window.notes.clear();
    }
    template <class T>
    T* Control(const char* name)
    {
        T* control = window.FindControl<T>(QLatin1String(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }

    kz::uitest::TestProgramDir dir;
    RecordingWindow window;
};

TEST_F(WindowTest, SkinGivesControlsByNameCaptionAndImages)
{
    EXPECT_EQ(window.GetHWND()->windowTitle(), QStringLiteral("Caption"));
    EXPECT_EQ(window.GetHWND()->size(), QSize(420, 360));
    EXPECT_NE(window.FindControl<QPushButton>(QStringLiteral("btn_go")), nullptr);
    EXPECT_EQ(window.FindControl<QLabel>(QStringLiteral("btn_go")), nullptr);  // wrong type
    auto* label = Control<QLabel>("label_img");
    ASSERT_NE(label, nullptr);
    EXPECT_FALSE(label->pixmap().isNull());  // "dot.png" found in the skin folder
    EXPECT_EQ(FontTable::FromSkin(window.GetHWND()).Find(2)->family, QStringLiteral("DejaVu Serif"));
}

TEST_F(WindowTest, MissingSkinGivesAnEmptyWindowThatStillWorks)
{
    RecordingWindow broken(QStringLiteral("absent.ui"));
    EXPECT_FALSE(broken.Create(nullptr, QStringLiteral("Broken")));
    ASSERT_NE(broken.GetHWND(), nullptr);
    EXPECT_EQ(broken.FindControl(QStringLiteral("btn_go")), nullptr);
    broken.Close();
    EXPECT_TRUE(WaitFor([&] { return broken.finals == 1; }));
}

TEST_F(WindowTest, WindowInitArrivesOnceAfterTheFirstShow)
{
    EXPECT_TRUE(window.notes.isEmpty());
    window.ShowWindow();
    window.ShowWindow(false);
    window.ShowWindow();
    kz::test::ProcessEventsFor(50);
    EXPECT_EQ(window.notes.count(QStringLiteral("windowinit:root")), 1);
}

TEST_F(WindowTest, ButtonsOptionsAndCheckBoxesNotifyByName)
{
    Show();
    Control<QPushButton>("btn_go")->click();
    Control<QRadioButton>("option_a")->click();
    Control<QRadioButton>("option_b")->click();
    EXPECT_FALSE(Control<QRadioButton>("option_a")->isChecked());  // one group
    EXPECT_EQ(window.notes, (QStringList{"click:btn_go", "selectchanged:option_a", "click:option_a",
                                         "selectchanged:option_b", "click:option_b"}));
    window.notes.clear();
    Control<QCheckBox>("check_c")->click();
    EXPECT_EQ(window.last.wParam, 0);  // the click comes last; look at the change
    EXPECT_EQ(window.notes, (QStringList{"selectchanged:check_c", "click:check_c"}));
    Control<QCheckBox>("check_c")->click();
    EXPECT_EQ(window.notes.count(QStringLiteral("selectchanged:check_c")), 2);
}

TEST_F(WindowTest, ComboTabsAndPagesNotifySelections)
{
    Show();
    Control<QComboBox>("comb_x")->setCurrentIndex(2);
    EXPECT_EQ(window.notes, QStringList{"itemselect:comb_x"});
    EXPECT_EQ(window.last.wParam, 2);
    EXPECT_EQ(window.last.lParam, 0);
    Control<QComboBox>("comb_x")->setCurrentIndex(1);
    EXPECT_EQ(window.last.lParam, 2);
    window.notes.clear();
    Control<QTabWidget>("tab_x")->setCurrentIndex(1);
    Control<QStackedWidget>("stack_x")->setCurrentIndex(1);
    EXPECT_EQ(window.notes, (QStringList{"selectchanged:tab_x", "tabselect:stack_x"}));
}

namespace {
struct ThreeRows : IListCallbackUI {
    QString GetItemText(int row, int) override { return QStringLiteral("row %1").arg(row); }
};
}  // namespace

TEST_F(WindowTest, ListRowsNotifyClickActivateSelectAndMenu)
{
    ThreeRows rows;
    auto* list = Control<QListView>("list_x");
    SetTextCallback(list, &rows)->SetRowCount(3);  // after Create: selection re-watched
    Show();
    const QPoint row1 = list->visualRect(list->model()->index(1, 0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row1);
    EXPECT_EQ(window.notes, (QStringList{"itemselect:list_x", "itemclick:list_x"}));
    EXPECT_EQ(window.last.wParam, 1);
    window.notes.clear();
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row1);
    EXPECT_TRUE(window.notes.contains(QStringLiteral("itemactivate:list_x")));
    window.notes.clear();

    QContextMenuEvent menu(QContextMenuEvent::Mouse, row1, list->viewport()->mapToGlobal(row1));
    QCoreApplication::sendEvent(list->viewport(), &menu);
    EXPECT_EQ(window.notes, QStringList{"menu:list_x"});
    EXPECT_EQ(window.last.wParam, 1);
    EXPECT_EQ(window.last.ptMouse, list->viewport()->mapToGlobal(row1));
}

TEST_F(WindowTest, LeavingAnEditNotifiesKillFocus)
{
    Show();
    window.GetHWND()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.GetHWND()));
    Control<QLineEdit>("edit_x")->setFocus();
    Control<QLineEdit>("edit_y")->setFocus();
    EXPECT_TRUE(window.notes.contains(QStringLiteral("killfocus:edit_x")));
    EXPECT_FALSE(window.notes.contains(QStringLiteral("killfocus:edit_y")));
}

TEST_F(WindowTest, EscapeClosesOnlyWhenTheWindowSaysSo)
{
    Show();
    window.escapeCloses = false;
    QTest::keyClick(window.GetHWND(), Qt::Key_Escape);
    kz::test::ProcessEventsFor(20);
    EXPECT_TRUE(window.GetHWND()->isVisible());
    EXPECT_EQ(window.finals, 0);

    window.escapeCloses = true;
    QTest::keyClick(Control<QLineEdit>("edit_x"), Qt::Key_Escape);  // from a child control too
    EXPECT_TRUE(window.IsClosed());
    EXPECT_FALSE(window.GetHWND()->isVisible());
    EXPECT_TRUE(WaitFor([&] { return window.finals == 1; }));
}

TEST_F(WindowTest, WindowManagerCloseActsAsTheCloseButton)
{
    Show();
    window.refuseClose = true;  // like a dialog that asks first
    window.GetHWND()->close();
    EXPECT_TRUE(WaitFor([&] { return !window.notes.isEmpty(); }));
    EXPECT_EQ(window.notes, QStringList{"click:closebtn"});
    EXPECT_TRUE(window.GetHWND()->isVisible());
    window.refuseClose = false;
    window.GetHWND()->close();
    EXPECT_TRUE(WaitFor([&] { return window.IsClosed(); }));
    EXPECT_TRUE(WaitFor([&] { return window.finals == 1; }));
    kz::test::ProcessEventsFor(20);
    EXPECT_EQ(window.finals, 1);
}

TEST_F(WindowTest, ModalDialogIsAnsweredAndReleasesItself)
{
    Show();
    auto* dialog = new RecordingWindow;
    dialog->deleteOnFinal = true;
    QPointer<RecordingWindow> alive(dialog);
    ASSERT_TRUE(dialog->Create(window.GetHWND(), QStringLiteral("Modal")));
    dialog->CenterWindow();
    EXPECT_EQ(dialog->GetHWND()->geometry().center(), window.GetHWND()->geometry().center());
    bool sawModal = false;
    TEST_MODAL({
        sawModal = modal == alive->GetHWND() && modal->windowModality() == Qt::WindowModal;
        kz::test::ClickButton(modal, QStringLiteral("closebtn"));
    });
    EXPECT_EQ(dialog->ShowModal(), kResultOk);
    EXPECT_TRUE(sawModal);
    EXPECT_TRUE(alive.isNull());  // OnFinalMessage ran before ShowModal returned
}

TEST_F(WindowTest, MessagesPostedFromWorkersArriveInOrderOnTheGuiThread)
{
    std::thread worker([&] {
        for (uint i = 0; i < 20; ++i)
            window.PostMessage(kWmUser + i, i);
    });
    worker.join();
    EXPECT_TRUE(WaitFor([&] { return window.messages.size() == 20; }));
    for (int i = 0; i < window.messages.size(); ++i)
        EXPECT_EQ(window.messages[i], int(kWmUser) + i);
    EXPECT_TRUE(window.onGuiThread);

    std::atomic<qintptr> answer = 0;  // polled by the GUI thread while the sender waits
    std::thread sender([&] { answer = window.SendMessage(kWmUser + 50, 21); });
    EXPECT_TRUE(WaitFor([&] { return answer == 42; }));
    sender.join();
}

namespace {
struct CountingWindow : RecordingWindow {
    explicit CountingWindow(int* count) : m_count(count) {}
    qintptr HandleCustomMessage(uint, qintptr, qintptr, bool& handled) override
    {
        ++*m_count;
        handled = true;
        return 0;
    }
    int* m_count;
};
}  // namespace

TEST_F(WindowTest, PostToAReleasedWindowIsDropped)
{
    int delivered = 0;
    auto* gone = new CountingWindow(&delivered);
    CountingWindow kept(&delivered);
    QPointer<WindowImplBase> goneTarget(gone);
    QPointer<WindowImplBase> keptTarget(&kept);
    std::thread worker([&] {
        WindowImplBase::PostMessageTo(goneTarget, kWmUser + 1);
        WindowImplBase::PostMessageTo(keptTarget, kWmUser + 1);
    });
    worker.join();
    delete gone;
    EXPECT_TRUE(WaitFor([&] { return delivered > 0; }));
    kz::test::ProcessEventsFor(20);
    EXPECT_EQ(delivered, 1);  // only the window still alive
}

TEST_F(WindowTest, UnhandledCloseMessageClosesAndMinimiseIsDefault)
{
    Show();
    window.PostMessage(kWmSysCommand, kScMinimize);
    EXPECT_TRUE(WaitFor([&] { return window.GetHWND()->isMinimized(); }));
    window.PostMessage(kWmClose);
    EXPECT_TRUE(WaitFor([&] { return window.finals == 1; }));
}

TEST_F(WindowTest, RowsBuiltFromASkinPartHaveTheirOwnGroups)
{
    Show();
    auto* holder = Control<QWidget>("rows");
    QList<QWidget*> rows;
    for (int i = 0; i < 2; ++i) {
        QWidget* row = window.BuildSkinPart(QStringLiteral("test_row.ui"), holder);
        ASSERT_NE(row, nullptr);
        holder->layout()->addWidget(row);
        SetTag(row, i);
        for (auto* option : row->findChildren<QRadioButton*>())
            window.SetOptionGroup(option, QStringLiteral("option_userpartition%1").arg(i));
        rows << row;
    }
    auto option = [&](int row, const char* name) { return rows[row]->findChild<QRadioButton*>(name); };
    option(0, "option_user_udisk")->click();
    option(1, "option_user_sdcard")->click();
    option(0, "option_user_sdcard")->click();
    EXPECT_FALSE(option(0, "option_user_udisk")->isChecked());
    EXPECT_TRUE(option(1, "option_user_sdcard")->isChecked());  // other row untouched
    EXPECT_EQ(WindowImplBase::OptionGroup(option(1, "option_user_sdcard")), QStringLiteral("option_userpartition1"));

    window.notes.clear();
    auto* write = rows[1]->findChild<QPushButton*>(QStringLiteral("btn_write"));
    write->click();
    EXPECT_EQ(window.notes, QStringList{"click:btn_write"});
    EXPECT_EQ(GetTag(window.last.pSender->parentWidget()->parentWidget()), 1);
}

TEST_F(WindowTest, CaptionDoubleClickNeverMaximises)
{
    Show();
    EXPECT_FALSE(window.GetHWND()->windowFlags() & Qt::WindowMaximizeButtonHint);
    window.GetHWND()->showMaximized();
    EXPECT_TRUE(WaitFor([&] { return !window.GetHWND()->isMaximized(); }));
}

TEST_F(WindowTest, ControlTextWhateverTheWidgetType)
{
    const char* names[] = {"btn_go", "edit_x", "label_img"};
    for (const char* name : names) {
        SetControlText(Control<QWidget>(name), QStringLiteral("Read"));
        EXPECT_EQ(GetControlText(Control<QWidget>(name)), QStringLiteral("Read")) << name;
    }
    EXPECT_EQ(Control<QPushButton>("btn_go")->text(), QStringLiteral("Read"));
    SetControlText(Control<QWidget>("rows"), QStringLiteral("kept"));  // a plain container
    EXPECT_EQ(GetControlText(Control<QWidget>("rows")), QStringLiteral("kept"));
    EXPECT_EQ(GetControlText(Control<QComboBox>("comb_x")), QStringLiteral("zero"));
}

TEST_F(WindowTest, WindowManagerCloseWaitsForABlockingCommand)
{
    Show();
    bool closedDuringCommand = true;
    RunBlockingKeepingPaint([&] {
        RunOnGuiBlocking(window.GetHWND(), [&] { window.GetHWND()->close(); });
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        closedDuringCommand = window.finals > 0 || window.IsClosed();
    });
    EXPECT_FALSE(closedDuringCommand);
    EXPECT_TRUE(WaitFor([&] { return window.finals == 1; }));
}
