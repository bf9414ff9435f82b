#pragma once
// A table model that asks its owner for every cell (IListCallbackUI).  The
// owner keeps the data and tells the model how many rows exist.
//
//   auto* model = kz::ui::SetTextCallback(view, this, 3);   // 3 columns
//   model->SetHeaders({tr("Name"), tr("Date"), tr("Size")});
//   model->SetRowCount(entries.size());   // after the owner's data changed
//   model->AppendRow();  kz::ui::ScrollToNewest(view);     // a log

#include <QAbstractTableModel>
#include <QStringList>

#include "ui/ListCallback.h"

class QAbstractItemView;

namespace kz::ui {

class CallbackListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    CallbackListModel(IListCallbackUI* owner, int columns, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void SetHeaders(const QStringList& headers);
    // Replaces the whole content: the owner's data was rebuilt.
    void SetRowCount(int rows);
    // One more row at the end (the owner already holds its data).
    void AppendRow();
    // Every cell may have changed; views ask again.
    void Refresh();
    // The owner goes away: the model answers empty texts from now on.
    void DetachOwner() { m_owner = nullptr; }

private:
    IListCallbackUI* m_owner;
    int m_columns;
    int m_rows = 0;
    QStringList m_headers;
};

// Makes owner the text provider of view; the model is a child of the view.
// Also tells the view's notifications about the new selection model.
CallbackListModel* SetTextCallback(QAbstractItemView* view, IListCallbackUI* owner, int columns = 1);

// Shows the last row.
void ScrollToNewest(QAbstractItemView* view);

}  // namespace kz::ui
