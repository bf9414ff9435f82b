#include "ui/Markup.h"

#include <QFileInfo>
#include <QFont>
#include <QLabel>
#include <QVariant>
#include <QWidget>
#include <vector>

#include "ui/MarkupParser.h"
#include "ui/SkinLoader.h"

namespace kz::ui {

FontTable FontTable::Default()
{
    FontTable table;
    table.Set(0, SkinFont{QStringLiteral("Noto Sans CJK SC"), 12, false, false, false});
    table.Set(1, SkinFont{QString(), 12, false, false, false});
    table.Set(2, SkinFont{QString(), 12, false, false, false});
    table.Set(3, SkinFont{QString(), 12, true, false, false});
    return table;
}

FontTable FontTable::FromSkin(const QWidget* skinRoot)
{
    FontTable table = Default();
    for (int i = 0; skinRoot && i < 10; ++i) {
        const QVariant value = skinRoot->property(QStringLiteral("font%1").arg(i).toLatin1().constData());
        if (value.typeId() != QMetaType::QFont)
            continue;
        const QFont font = value.value<QFont>();
        SkinFont entry{font.family(), font.pixelSize() > 0 ? font.pixelSize() : 0, font.bold(),
                       font.italic(), font.underline()};
        entry.pointSize = font.pixelSize() > 0 ? 0 : font.pointSize();
        table.Set(i, entry);
    }
    return table;
}

const SkinFont* FontTable::Find(int index) const
{
    auto it = m_fonts.constFind(index);
    return it == m_fonts.constEnd() ? nullptr : &*it;
}

namespace {

// The style in force at one point of the text.
struct Style {
    std::vector<const SkinFont*> fonts;
    std::vector<QColor> colors;
    int bold = 0;
    int underline = 0;

    QString Css() const
    {
        QStringList css;
        const SkinFont* font = fonts.empty() ? nullptr : fonts.back();
        if (font && !font->family.isEmpty())
            css << QStringLiteral("font-family:'%1'").arg(font->family.toHtmlEscaped());
        if (font && font->pixelSize > 0)
            css << QStringLiteral("font-size:%1px").arg(font->pixelSize);
        else if (font && font->pointSize > 0)
            css << QStringLiteral("font-size:%1pt").arg(font->pointSize);
        if (bold > 0 || (font && font->bold))
            css << QStringLiteral("font-weight:bold");
        if (font && font->italic)
            css << QStringLiteral("font-style:italic");
        if (underline > 0 || (font && font->underline))
            css << QStringLiteral("text-decoration:underline");
        if (!colors.empty())
            css << QStringLiteral("color:%1").arg(colors.back().name());
        return css.join(QLatin1Char(';'));
    }
};

// Escapes text and keeps the width of blank runs (rich text would fold them).
QString EscapeRun(const QString& text, bool* atBlank)
{
    QString out;
    for (QChar ch : text) {
        if (ch == QLatin1Char('\r'))
            continue;
        if (ch == QLatin1Char('\n')) {
            out += QStringLiteral("<br/>");
            *atBlank = true;
        } else if (ch == QLatin1Char(' ') || ch == QLatin1Char('\t')) {
            const int width = ch == QLatin1Char('\t') ? 4 : 1;
            for (int i = 0; i < width; ++i) {
                out += *atBlank ? QStringLiteral("&nbsp;") : QStringLiteral(" ");
                *atBlank = true;
            }
        } else {
            out += QString(ch).toHtmlEscaped();
            *atBlank = false;
        }
    }
    return out;
}

QString ImageHtml(const QString& name, const MarkupContext& context)
{
    const QString dir = context.imageDir.isEmpty() ? SkinDirectory() : context.imageDir;
    // Only the file name counts: images come from the skin folder.
    const QString path = dir + QLatin1Char('/') + QFileInfo(name).fileName();
    return QStringLiteral("<img src=\"%1\" style=\"vertical-align:middle\"/>").arg(path.toHtmlEscaped());
}

template <class T>
void PopIfAny(std::vector<T>& stack)
{
    if (!stack.empty())
        stack.pop_back();
}

// Applies an opening or closing tag; false for tokens that are not style.
bool ApplyStyle(const MarkupToken& token, const MarkupContext& context, Style& style)
{
    switch (token.kind) {
    case MarkupToken::OpenFont: {
        const SkinFont* font = context.fonts.Find(token.font);
        style.fonts.push_back(font ? font : (style.fonts.empty() ? nullptr : style.fonts.back()));
        return true;
    }
    case MarkupToken::OpenColor: style.colors.push_back(token.color); return true;
    case MarkupToken::OpenBold: ++style.bold; return true;
    case MarkupToken::OpenUnderline: ++style.underline; return true;
    case MarkupToken::CloseFont: PopIfAny(style.fonts); return true;
    case MarkupToken::CloseColor: PopIfAny(style.colors); return true;
    case MarkupToken::CloseBold: style.bold = qMax(0, style.bold - 1); return true;
    case MarkupToken::CloseUnderline: style.underline = qMax(0, style.underline - 1); return true;
    default: return false;
    }
}

}  // namespace

QString MarkupToHtml(const QString& markup, const MarkupContext& context)
{
    QString html;
    Style style;
    bool atBlank = true;  // blanks at the start of a line are kept
    for (const MarkupToken& token : TokenizeMarkup(markup)) {
        if (ApplyStyle(token, context, style))
            continue;
        if (token.kind == MarkupToken::Image) {
            html += ImageHtml(token.text, context);
            atBlank = false;
        } else if (token.kind == MarkupToken::Newline) {
            html += QStringLiteral("<br/>");
            atBlank = true;
        } else {
            const QString css = style.Css();
            const QString run = EscapeRun(token.text, &atBlank);
            html += css.isEmpty() ? run : QStringLiteral("<span style=\"%1\">%2</span>").arg(css, run);
        }
    }
    return html;
}

QString MarkupToHtml(const QString& markup)
{
    return MarkupToHtml(markup, MarkupContext{});
}

QString MarkupToPlainText(const QString& markup)
{
    QString text;
    for (const MarkupToken& token : TokenizeMarkup(markup)) {
        if (token.kind == MarkupToken::Text)
            text += token.text;
        else if (token.kind == MarkupToken::Newline)
            text += QLatin1Char('\n');
    }
    return text;
}

void SetMarkupText(QLabel* label, const QString& markup, const MarkupContext& context)
{
    if (!label)
        return;
    label->setTextFormat(Qt::RichText);
    label->setText(MarkupToHtml(markup, context));
}

QFont ToQFont(const SkinFont& font, const QFont& base)
{
    QFont result = base;
    if (!font.family.isEmpty())
        result.setFamily(font.family);
    if (font.pixelSize > 0)
        result.setPixelSize(font.pixelSize);
    else if (font.pointSize > 0)
        result.setPointSize(font.pointSize);
    result.setBold(font.bold);
    result.setItalic(font.italic);
    result.setUnderline(font.underline);
    return result;
}

void ApplySkinFont(QWidget* control, const FontTable& fonts, int index)
{
    if (const SkinFont* font = control ? fonts.Find(index) : nullptr)
        control->setFont(ToQFont(*font, control->font()));
}

}  // namespace kz::ui
