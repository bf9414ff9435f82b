#include "ui/RichTextDelegate.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QPainter>
#include <QTextDocument>

namespace kz::ui {

namespace {

void Prepare(QTextDocument& doc, const QStyleOptionViewItem& option, const QString& html)
{
    doc.setDefaultFont(option.font);
    doc.setDocumentMargin(2);
    doc.setHtml(html);
}

}  // namespace

RichTextDelegate::RichTextDelegate(MarkupContext context, QObject* parent)
    : QStyledItemDelegate(parent), m_context(std::move(context))
{
}

void RichTextDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString html = MarkupToHtml(opt.text, m_context);
    opt.text.clear();  // the style draws background, selection and focus only
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    QTextDocument doc;
    Prepare(doc, opt, html);
    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget);
    painter->save();
    painter->translate(textRect.topLeft());
    painter->setClipRect(textRect.translated(-textRect.topLeft()));
    QAbstractTextDocumentLayout::PaintContext ctx;
    ctx.palette = opt.palette;
    doc.documentLayout()->draw(painter, ctx);
    painter->restore();
}

QSize RichTextDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    QTextDocument doc;
    Prepare(doc, opt, MarkupToHtml(opt.text, m_context));
    return QSize(int(doc.idealWidth()) + 4, int(doc.size().height()));
}

}  // namespace kz::ui
