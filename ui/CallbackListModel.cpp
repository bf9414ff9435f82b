#include "ui/CallbackListModel.h"

#include <QAbstractItemView>

#include "ui/NotifyBridge.h"

namespace kz::ui {

CallbackListModel::CallbackListModel(IListCallbackUI* owner, int columns, QObject* parent)
    : QAbstractTableModel(parent), m_owner(owner), m_columns(qMax(1, columns))
{
}

int CallbackListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int CallbackListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_columns;
}

QVariant CallbackListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_rows || !m_owner)
        return {};
    return m_owner->GetItemText(index.row(), index.column());
}

QVariant CallbackListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= m_headers.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    return m_headers.at(section);
}

void CallbackListModel::SetHeaders(const QStringList& headers)
{
    m_headers = headers;
    emit headerDataChanged(Qt::Horizontal, 0, m_columns - 1);
}

void CallbackListModel::SetRowCount(int rows)
{
    beginResetModel();
    m_rows = qMax(0, rows);
    endResetModel();
}

void CallbackListModel::AppendRow()
{
    beginInsertRows({}, m_rows, m_rows);
    ++m_rows;
    endInsertRows();
}

void CallbackListModel::Refresh()
{
    if (m_rows > 0)
        emit dataChanged(index(0, 0), index(m_rows - 1, m_columns - 1));
}

CallbackListModel* SetTextCallback(QAbstractItemView* view, IListCallbackUI* owner, int columns)
{
    if (!view)
        return nullptr;
    auto* model = new CallbackListModel(owner, columns, view);
    QAbstractItemModel* old = view->model();
    view->setModel(model);
    if (old && old->parent() == view)
        old->deleteLater();
    NotifyBridge::ModelChanged(view);
    return model;
}

void ScrollToNewest(QAbstractItemView* view)
{
    if (view)
        view->scrollToBottom();
}

}  // namespace kz::ui
