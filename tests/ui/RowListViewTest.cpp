#include <QImage>
#include <QLabel>
#include <QListView>
#include <QScrollBar>
#include <QStringListModel>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include "support/GuiTest.h"
#include "ui/CallbackListModel.h"
#include "ui/RichTextDelegate.h"
#include "ui/RowListView.h"

using namespace kz::ui;

namespace {

struct Lines : IListCallbackUI {
    QString GetItemText(int row, int) override { return lines.value(row); }
    QStringList lines;
};

// Log rows of every kind: one line, several lines (a tip carrying a box's
// output) and one wider than the view.
QStringList LogRows(int count)
{
    QStringList rows;
    for (int i = 0; i < count; ++i) {
        switch (i % 4) {
        case 0: rows << QStringLiteral("<i log_successful.png><f 2><c #00CD00> Copied %1</c></f>").arg(i); break;
        case 1: rows << QStringLiteral("<i log_failed.png><f 2><c #FF0000> Failed %1</c></f>").arg(i); break;
        case 2: rows << QStringLiteral("<i log_tips.png><f 2><c #0000FF> cp: %1\nline two\n<DIR> & three</c></f>").arg(i); break;
        default: rows << QStringLiteral("<f 2>%1 %2").arg(i).arg(QString(120, QLatin1Char('w'))); break;
        }
    }
    return rows;
}

void Show(QListView& view, Lines& owner, CallbackListModel** model)
{
    view.resize(260, 150);
    *model = SetTextCallback(&view, &owner);
    MarkupContext context;
    context.imageDir = QStringLiteral(KZ_SOURCE_DIR "/skin");
    view.setItemDelegate(new RichTextDelegate(context, &view));
    view.setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    view.show();
}

// Counts what the view asks of its delegate; rows are 10 px per text line.
class CountingDelegate : public QAbstractItemDelegate {
public:
    using QAbstractItemDelegate::QAbstractItemDelegate;
    void paint(QPainter*, const QStyleOptionViewItem&, const QModelIndex&) const override { ++painted; }
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        ++measured;
        return QSize(50, 10 * (index.data().toString().count(QLatin1Char('\n')) + 1));
    }
    mutable int painted = 0;
    mutable int measured = 0;
};

}  // namespace

// The log's rows must look as they did in a QListView: same places, same
// pixels, wherever the view is scrolled.
TEST(RowListView, DrawsRowsExactlyWhereQListViewDoes)
{
    Lines owner;
    QListView plain;
    RowListView rows;
    CallbackListModel* plainModel = nullptr;
    CallbackListModel* rowsModel = nullptr;
    Show(plain, owner, &plainModel);
    Show(rows, owner, &rowsModel);
    for (const QString& line : LogRows(13)) {
        owner.lines << line;
        plainModel->AppendRow();
        rowsModel->AppendRow();
    }
    kz::test::ProcessEventsFor(30);

    const std::function<void(QListView&)> scrolls[] = {
        [](QListView&) {},
        [](QListView& v) { v.scrollToBottom(); },
        [](QListView& v) { v.verticalScrollBar()->setValue(37); v.horizontalScrollBar()->setValue(90); },
        [](QListView& v) { v.scrollTo(v.model()->index(6, 0), QAbstractItemView::PositionAtCenter); },
    };
    for (size_t i = 0; i < std::size(scrolls); ++i) {
        SCOPED_TRACE(i);
        scrolls[i](plain);
        scrolls[i](rows);
        kz::test::ProcessEventsFor(20);
        EXPECT_EQ(rows.verticalScrollBar()->maximum(), plain.verticalScrollBar()->maximum());
        EXPECT_EQ(rows.horizontalScrollBar()->maximum(), plain.horizontalScrollBar()->maximum());
        EXPECT_EQ(rows.verticalScrollBar()->value(), plain.verticalScrollBar()->value());
        for (int row = 0; row < owner.lines.size(); ++row) {
            const QModelIndex index = rowsModel->index(row, 0);
            const QRect rect = rows.visualRect(index);
            EXPECT_EQ(rect, plain.visualRect(plainModel->index(row, 0))) << row;
            if (rows.viewport()->rect().contains(rect.center())) {
                EXPECT_EQ(rows.indexAt(rect.center()), index) << row;
            }
        }
        EXPECT_TRUE(rows.viewport()->grab().toImage() == plain.viewport()->grab().toImage());
    }
}

// A new row costs the same however long the log is: only that row is
// measured, and a repaint draws only the rows in sight.
TEST(RowListView, MeasuresEachRowOnceAndPaintsOnlyWhatItShows)
{
    Lines owner;
    RowListView view;
    view.resize(200, 100);
    auto* model = SetTextCallback(&view, &owner);
    auto* delegate = new CountingDelegate(&view);
    view.setItemDelegate(delegate);
    view.show();
    for (int i = 0; i < 2000; ++i) {
        owner.lines << (i % 3 == 2 ? QStringLiteral("tip\nsecond line") : QStringLiteral("row"));
        model->AppendRow();
        ScrollToNewest(&view);
    }
    kz::test::ProcessEventsFor(20);
    EXPECT_EQ(delegate->measured, 2000);
    EXPECT_EQ(view.verticalScrollBar()->maximum(), 2000 / 3 * 20 + (2000 - 2000 / 3) * 10 - view.viewport()->height());

    delegate->measured = delegate->painted = 0;
    owner.lines << QStringLiteral("newest\nof two lines");
    model->AppendRow();
    ScrollToNewest(&view);
    view.viewport()->repaint();
    EXPECT_EQ(delegate->measured, 1);
    EXPECT_GT(delegate->painted, 0);
    EXPECT_LE(delegate->painted, view.viewport()->height() / 10 + 1);
    EXPECT_EQ(view.indexAt(QPoint(5, view.viewport()->height() - 3)), model->index(2000, 0));
}

// Rows inserted in the middle, changed or removed land where QListView
// puts them.
TEST(RowListView, RowsInsertedChangedOrRemovedLandWhereQListViewPutsThem)
{
    QStringListModel model({QStringLiteral("a"), QStringLiteral("b\nb"), QStringLiteral("c")});
    QListView plain;
    RowListView rows;
    for (QListView* view : {static_cast<QListView*>(&plain), static_cast<QListView*>(&rows)}) {
        view->resize(200, 60);
        view->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
        view->setModel(&model);
        view->setItemDelegate(new CountingDelegate(view));
        view->show();
    }
    kz::test::ProcessEventsFor(20);
    const std::function<void()> edits[] = {
        [&] { model.insertRows(1, 2); model.setData(model.index(1), QStringLiteral("x\ny\nz")); },
        [&] { model.setData(model.index(0), QStringLiteral("1\n2\n3\n4")); },
        [&] { model.removeRows(1, 2); },
        [&] { model.insertRows(model.rowCount(), 1); },
    };
    for (size_t i = 0; i < std::size(edits); ++i) {
        SCOPED_TRACE(i);
        edits[i]();
        kz::test::ProcessEventsFor(20);
        for (int row = 0; row < model.rowCount(); ++row)
            EXPECT_EQ(rows.visualRect(model.index(row)), plain.visualRect(model.index(row))) << row;
        EXPECT_EQ(rows.verticalScrollBar()->maximum(), plain.verticalScrollBar()->maximum());
    }
}

// The skin's list is swapped for a RowListView in place: same name, same
// slot in the layout, same properties; inherited ones stay inherited.
TEST(RowListView, TakesTheSkinListsPlace)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("above")));
    auto* list = new QListView;
    list->setObjectName(QStringLiteral("list_log"));
    list->setSelectionMode(QAbstractItemView::NoSelection);
    list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setProperty("skinTag", 7);
    layout->addWidget(list);
    layout->addWidget(new QLabel(QStringLiteral("below")));
    window.setFont(QFont(QStringLiteral("Sans"), 17));

    RowListView* view = ReplaceWithRowListView(list);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(window.findChild<QListView*>(QStringLiteral("list_log")), view);
    EXPECT_EQ(window.findChildren<QListView*>().size(), 1);
    EXPECT_EQ(layout->indexOf(view), 1);
    EXPECT_EQ(view->selectionMode(), QAbstractItemView::NoSelection);
    EXPECT_EQ(view->verticalScrollMode(), QAbstractItemView::ScrollPerPixel);
    EXPECT_EQ(view->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(view->property("skinTag").toInt(), 7);
    EXPECT_FALSE(view->testAttribute(Qt::WA_SetFont));
    window.setFont(QFont(QStringLiteral("Sans"), 11));
    EXPECT_EQ(view->font().pointSize(), 11);
    window.show();
    EXPECT_TRUE(kz::test::WaitFor([&] { return view->isVisible(); }));
}
