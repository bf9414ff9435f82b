#pragma once
// Paints an item's display text as mark-up (see Markup.h): icons, fonts and
// colours of log rows.  Install with view->setItemDelegate(new RichTextDelegate(ctx, view)).
//
// A row's laid-out document is kept for the rows last drawn or measured, so
// painting the rows in sight again neither parses the mark-up nor lays the
// text out; icons are read and decoded once per process.

#include <QCache>
#include <QStyledItemDelegate>
#include <QTextDocument>

#include "ui/Markup.h"

namespace kz::ui {

class RichTextDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit RichTextDelegate(MarkupContext context, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    const MarkupContext& Context() const { return m_context; }

private:
    // The document of `markup` in `font`, laid out; owned by the cache.
    QTextDocument* Document(const QString& markup, const QFont& font) const;

    MarkupContext m_context;
    mutable QCache<QString, QTextDocument> m_documents;
};

}  // namespace kz::ui
