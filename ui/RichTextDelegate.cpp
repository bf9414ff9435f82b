#include "ui/RichTextDelegate.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QPixmapCache>
#include <QTextDocument>

namespace kz::ui {

namespace {

// Documents in sight, and a few more: a log shows a few dozen rows.
constexpr int kKeptDocuments = 256;

// Images named by absolute path come from the process-wide pixmap cache;
// a plain QTextDocument reads and decodes them again for every document.
class SkinImageDocument : public QTextDocument {
protected:
    QVariant loadResource(int type, const QUrl& name) override
    {
        const QString path = name.isLocalFile() ? name.toLocalFile() : name.path();
        if (type != QTextDocument::ImageResource || !QDir::isAbsolutePath(path))
            return QTextDocument::loadResource(type, name);
        QPixmap pixmap;
        if (QPixmapCache::find(path, &pixmap))
            return pixmap;
        if (!pixmap.load(path))
            return QTextDocument::loadResource(type, name);
        QPixmapCache::insert(path, pixmap);
        return pixmap;
    }
};

}  // namespace

RichTextDelegate::RichTextDelegate(MarkupContext context, QObject* parent)
    : QStyledItemDelegate(parent), m_context(std::move(context)), m_documents(kKeptDocuments)
{
}

QTextDocument* RichTextDelegate::Document(const QString& markup, const QFont& font) const
{
    const QString key = font.key() + QChar(0) + markup;
    if (QTextDocument* doc = m_documents.object(key))
        return doc;
    auto* doc = new SkinImageDocument;
    doc->setDefaultFont(font);
    doc->setDocumentMargin(2);
    doc->setHtml(MarkupToHtml(markup, m_context));
    m_documents.insert(key, doc);
    return doc;
}

void RichTextDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    QTextDocument* doc = Document(opt.text, opt.font);
    opt.text.clear();  // the style draws background, selection and focus only
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget);
    painter->save();
    painter->translate(textRect.topLeft());
    painter->setClipRect(textRect.translated(-textRect.topLeft()));
    QAbstractTextDocumentLayout::PaintContext ctx;
    ctx.palette = opt.palette;
    doc->documentLayout()->draw(painter, ctx);
    painter->restore();
}

QSize RichTextDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    QTextDocument* doc = Document(opt.text, opt.font);
    return QSize(int(doc->idealWidth()) + 4, int(doc->size().height()));
}

}  // namespace kz::ui
