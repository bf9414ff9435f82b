#pragma once
// Paints an item's display text as mark-up (see Markup.h): icons, fonts and
// colours of log rows.  Install with view->setItemDelegate(new RichTextDelegate(ctx, view)).

#include <QStyledItemDelegate>

#include "ui/Markup.h"

namespace kz::ui {

class RichTextDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit RichTextDelegate(MarkupContext context, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    MarkupContext m_context;
};

}  // namespace kz::ui
