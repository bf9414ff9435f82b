#pragma once
// A list view for lists that only grow, such as the operation log.  QListView
// lays out every row again on each insert and asks the delegate for each
// row's size while it does, so a list of n rows costs n size hints per new
// row.  This view asks the delegate once per row, when the row arrives, keeps
// the row tops in one array and looks rows up by binary search: a new row
// costs the same however many rows there are, and painting touches only the
// rows in sight.  Rows are drawn exactly where QListView would draw them in
// list mode from top to bottom without wrapping, grid or spacing (the only
// layout it supports).
//
// The skins create a QListView; ReplaceWithRowListView() puts one of these in
// its place, with the same name, properties and position in the layout.

#include <QListView>
#include <QPointer>
#include <vector>

namespace kz::ui {

class RowListView : public QListView {
    Q_OBJECT
public:
    explicit RowListView(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;
    void setRootIndex(const QModelIndex& index) override;
    void reset() override;
    void doItemsLayout() override;
    QRect visualRect(const QModelIndex& index) const override;
    QModelIndex indexAt(const QPoint& point) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

protected:
    void rowsInserted(const QModelIndex& parent, int start, int end) override;
    void rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) override;
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles = QList<int>()) override;
    void updateGeometries() override;
    void paintEvent(QPaintEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    QSize viewportSizeHint() const override;
    void changeEvent(QEvent* event) override;

private:
    int Rows() const { return static_cast<int>(m_tops.size()) - 1; }
    QModelIndex RowIndex(int row) const;
    // The row under content coordinate y, clamped to the rows there are.
    int RowAt(int y) const;
    QSize MeasureRow(int row) const;
    void MeasureAll();
    // Rows first..last are new (already in the model): measured and fitted in.
    void InsertMeasured(int first, int last);
    // Rows first..last changed: measured again, the rows below moved.
    void Remeasure(int first, int last);
    void Invalidate();
    bool IsOurs(const QModelIndex& parent) const { return parent == rootIndex(); }

    std::vector<int> m_tops{0};  // top of each row in content coordinates; last: the total height
    std::vector<int> m_widths;   // each row's width
    int m_maxWidth = 0;
    bool m_measured = false;  // false: every row is measured at the next layout
    QPointer<QAbstractItemDelegate> m_measuredWith;
};

// Puts a RowListView in place of list (same parent, layout slot, object name
// and the properties the skin set) and deletes list.  Call before the view
// gets a model.  Returns the new view, or null when list is null.
RowListView* ReplaceWithRowListView(QListView* list);

}  // namespace kz::ui
