#include "support/FilesGuiFixture.h"

#include <QApplication>
#include <QItemSelectionModel>

#include "ui/Controls.h"

namespace kz::test {

QByteArray ListingOf(const QStringList& lines)
{
    QByteArray out;
    for (const QString& line : lines)
        out += line.toUtf8() + "\r\r\n";
    return out;
}

void FilesGui::SetUp()
{
    StartConnected();
}

QTreeView* FilesGui::FileList(QWidget* window)
{
    return window ? window->findChild<QTreeView*>(QStringLiteral("file")) : nullptr;
}

int FilesGui::RowCount(QWidget* window)
{
    QTreeView* list = FileList(window);
    return list && list->model() ? list->model()->rowCount() : -1;
}

QString FilesGui::Cell(QWidget* window, int row, int column)
{
    QTreeView* list = FileList(window);
    if (!list || !list->model())
        return QStringLiteral("<no list>");
    return list->model()->index(row, column).data().toString();
}

void FilesGui::SelectRow(QWidget* window, int row)
{
    QTreeView* list = FileList(window);
    list->selectionModel()->select(list->model()->index(row, 0),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

QWidget* FilesGui::RightClick(QWidget* window)
{
    QTreeView* list = FileList(window);
    emit list->customContextMenuRequested(QPoint(5, 5));
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && w->findChild<QWidget*>(QStringLiteral("menu_delete")))
            return w;
    }
    return nullptr;
}

QString FilesGui::ControlText(QWidget* window, const char* name)
{
    return kz::ui::GetControlText(window->findChild<QWidget*>(QString::fromUtf8(name)));
}

}  // namespace kz::test
