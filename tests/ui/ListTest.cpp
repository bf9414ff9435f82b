#include <QImage>
#include <QListView>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

#include "support/GuiTest.h"
#include "ui/CallbackListModel.h"
#include "ui/RichTextDelegate.h"

using namespace kz::ui;

namespace {

// Answers from its own lines and remembers what it was asked.
struct Owner : IListCallbackUI {
    QString GetItemText(int row, int column) override
    {
        asked << QPoint(column, row);
        return column == 0 ? lines.value(row) : QStringLiteral("c%1").arg(column);
    }
    QStringList lines;
    QList<QPoint> asked;
};

}  // namespace

TEST(CallbackListModel, AsksTheOwnerForEachCell)
{
    Owner owner;
    owner.lines = {QStringLiteral("a"), QStringLiteral("b")};
    CallbackListModel model(&owner, 3);
    model.SetRowCount(2);
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.columnCount(), 3);
    EXPECT_EQ(model.data(model.index(1, 0), Qt::DisplayRole).toString(), QStringLiteral("b"));
    EXPECT_EQ(model.data(model.index(1, 2), Qt::DisplayRole).toString(), QStringLiteral("c2"));
    EXPECT_EQ(owner.asked, (QList<QPoint>{QPoint(0, 1), QPoint(2, 1)}));
    EXPECT_FALSE(model.data(model.index(0, 0), Qt::DecorationRole).isValid());  // display text only
    EXPECT_EQ(owner.asked.size(), 2);

    model.DetachOwner();
    EXPECT_EQ(model.data(model.index(0, 0), Qt::DisplayRole).toString(), QString());
}

TEST(CallbackListModel, AppendingARowInsertsAtTheEnd)
{
    Owner owner;
    CallbackListModel model(&owner, 1);
    model.SetHeaders({QStringLiteral("Name")});
    EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Name"));
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    owner.lines << QStringLiteral("first");
    model.AppendRow();
    owner.lines << QStringLiteral("second");
    model.AppendRow();
    ASSERT_EQ(inserted.size(), 2);
    EXPECT_EQ(inserted[1][1].toInt(), 1);
    EXPECT_EQ(model.data(model.index(1, 0), Qt::DisplayRole).toString(), QStringLiteral("second"));
    model.SetRowCount(0);
    EXPECT_EQ(model.rowCount(), 0);
}

TEST(CallbackListModel, TheNewestRowIsScrolledIntoView)
{
    Owner owner;
    QListView view;
    view.resize(200, 100);
    auto* model = SetTextCallback(&view, &owner);
    view.show();
    for (int i = 0; i < 300; ++i) {
        owner.lines << QStringLiteral("line %1").arg(i);
        model->AppendRow();
        ScrollToNewest(&view);
    }
    kz::test::ProcessEventsFor(20);
    const QRect last = view.visualRect(model->index(299, 0));
    EXPECT_TRUE(view.viewport()->rect().intersects(last));
    EXPECT_FALSE(view.viewport()->rect().intersects(view.visualRect(model->index(0, 0))));
}

TEST(RichTextDelegate, DrawsMarkupColoursAndWholeLongLines)
{
    Owner owner;
    owner.lines = {QStringLiteral("<c #FF0000>XXXXXXXXXXXXXXXX</c>"),
                   QStringLiteral("<c #0000FF>%1</c>").arg(QString(300, QLatin1Char('y')))};
    QTableView view;
    view.resize(300, 120);
    auto* model = SetTextCallback(&view, &owner);
    model->SetRowCount(2);
    view.setItemDelegate(new RichTextDelegate(MarkupContext{}, &view));
    view.show();
    kz::test::ProcessEventsFor(20);

    const QImage image = view.viewport()->grab(view.visualRect(model->index(0, 0))).toImage();
    int red = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            red += c.red() > 150 && c.green() < 100 && c.blue() < 100;
        }
    EXPECT_GT(red, 10);
    const QSize shortHint = view.itemDelegate()->sizeHint(QStyleOptionViewItem(), model->index(0, 0));
    const QSize longHint = view.itemDelegate()->sizeHint(QStyleOptionViewItem(), model->index(1, 0));
    EXPECT_GT(longHint.width(), 10 * shortHint.width());
}
