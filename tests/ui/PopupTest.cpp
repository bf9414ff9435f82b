#include <QApplication>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "TestSkin.h"
#include "support/GuiTest.h"
#include "ui/PopupMenu.h"
#include "ui/PopupPlacement.h"

using kz::test::WaitFor;
using namespace kz::ui;

TEST(FitInside, KeepsAPopupThatFits)
{
    EXPECT_EQ(FitInside(QRect(100, 100, 50, 40), QRect(0, 0, 800, 600)), QPoint(100, 100));
    EXPECT_EQ(FitInside(QRect(750, 560, 50, 40), QRect(0, 0, 800, 600)), QPoint(750, 560));
}

TEST(FitInside, MovesUpAndLeftToTouchTheWorkAreaEdges)
{
    EXPECT_EQ(FitInside(QRect(790, 590, 50, 40), QRect(0, 0, 800, 600)), QPoint(750, 560));
    EXPECT_EQ(FitInside(QRect(10, 590, 50, 40), QRect(0, 0, 800, 570)), QPoint(10, 530));
}

TEST(FitInside, TooLargeGoesToTheAreaOrigin)
{
    EXPECT_EQ(FitInside(QRect(300, 300, 900, 700), QRect(0, 0, 800, 600)), QPoint(0, 0));
    // A second monitor below the first: its own top, not the desktop's 0.
    EXPECT_EQ(FitInside(QRect(300, 1500, 100, 700), QRect(0, 1080, 1920, 600)), QPoint(300, 1080));
}

TEST(FitInside, PointsBeforeTheAreaAreBroughtIn)
{
    EXPECT_EQ(FitInside(QRect(-20, 1000, 50, 40), QRect(0, 1080, 800, 600)), QPoint(0, 1080));
}

namespace {

class TestMenu : public PopupMenu {
public:
    // The count is shared: a menu left open by a failing test may outlive it.
    explicit TestMenu(std::shared_ptr<int> finals, QString skin = QStringLiteral("test_menu.ui"))
        : m_finals(std::move(finals)), m_skin(std::move(skin)) {}
    QString GetWindowClassName() const override { return QStringLiteral("MainMenu"); }
    QString GetSkinFile() const override { return m_skin; }
    void Notify(TNotifyUI& msg) override { notes << msg.sType + QLatin1Char(':') + msg.senderName; }
    void OnFinalMessage() override
    {
        ++*m_finals;
        PopupMenu::OnFinalMessage();
    }
    QStringList notes;

private:
    std::shared_ptr<int> m_finals;
    QString m_skin;
};

}  // namespace

class PopupMenuTest : public ::testing::Test {
protected:
    kz::uitest::TestProgramDir dir;
    QWidget owner;
    std::shared_ptr<int> finals = std::make_shared<int>(0);
};

TEST_F(PopupMenuTest, OpensInsideTheWorkAreaAndReportsItemsInOrder)
{
    owner.show();
    const QRect area = WorkAreaAt(QPoint(0, 0));
    auto* menu = new TestMenu(finals);
    QPointer<TestMenu> alive(menu);
    ASSERT_TRUE(menu->Popup(&owner, area.bottomRight() - QPoint(5, 5)));
    const QRect shown = menu->GetHWND()->geometry();
    EXPECT_TRUE(area.contains(shown)) << shown.x() << "," << shown.y();
    EXPECT_EQ(shown.size(), QSize(140, 90));

    menu->FindControl<QPushButton>(QStringLiteral("menu_two"))->click();
    EXPECT_EQ(menu->notes, (QStringList{"itemclick:menu_two", "itemselect:menu_two"}));
    menu->Close();
    EXPECT_TRUE(WaitFor([&] { return alive.isNull(); }));
    EXPECT_EQ(*finals, 1);
}

TEST_F(PopupMenuTest, EscapeClosesWithoutAnyItem)
{
    owner.show();
    auto* menu = new TestMenu(finals);
    QPointer<TestMenu> alive(menu);
    ASSERT_TRUE(menu->Popup(&owner, QPoint(20, 20)));
    QTest::keyClick(menu->GetHWND(), Qt::Key_Escape);
    EXPECT_TRUE(WaitFor([&] { return alive.isNull(); }));
    EXPECT_EQ(*finals, 1);
}

TEST_F(PopupMenuTest, ClosingFromOutsideEndsTheMenuOnce)
{
    owner.show();
    auto* menu = new TestMenu(finals);
    QPointer<TestMenu> alive(menu);
    ASSERT_TRUE(menu->Popup(&owner, QPoint(20, 20)));
    owner.resize(300, 300);
    QTest::mouseClick(owner.windowHandle(), Qt::LeftButton, {}, QPoint(250, 250));
    EXPECT_TRUE(menu->notes.isEmpty());
    EXPECT_TRUE(WaitFor([&] { return alive.isNull(); }));
    EXPECT_EQ(*finals, 1);
}

TEST_F(PopupMenuTest, MissingSkinClosesAtOnce)
{
    auto* menu = new TestMenu(finals, QStringLiteral("no_such_menu.ui"));
    QPointer<TestMenu> alive(menu);
    EXPECT_FALSE(menu->Popup(&owner, QPoint(20, 20)));
    EXPECT_TRUE(WaitFor([&] { return alive.isNull(); }));
    EXPECT_EQ(*finals, 1);
}
