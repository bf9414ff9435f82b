#pragma once
// The mark-up of log rows and help labels, drawn as Qt rich text.
//
//   <i name.png>   image from the skin folder (extra words after the name are ignored)
//   <f n> </f>     font n of the font table
//   <c #RRGGBB> </c>  colour (#AARRGGBB accepted, alpha ignored)
//   <b> </b>  <u> </u>  bold, underline
//   <n>            line break (a newline character breaks too)
//
// Only these well-formed tags are mark-up.  Anything else - a lone "<", "<DIR>",
// "<c red>", an unknown tag - is shown literally, and the text between tags is
// HTML-escaped, so a device answer holding "<" or "&" shows as printed.  The
// log composes its rows from raw texts, so a raw text holding a well-formed
// tag (say "<b>") is still drawn as mark-up; that is the price of rows being
// composed as plain strings, and the worst outcome is a changed style.
// Closing tags may come in any order (rows close colour and font crosswise):
// each closer ends its own kind's innermost open tag; a closer without an
// open tag is dropped.  Runs of blanks keep their width.

#include <QFont>
#include <QMap>
#include <QString>

class QLabel;
class QWidget;

namespace kz::ui {

struct SkinFont {
    QString family;  // empty: the widget's own family
    int pixelSize = 0;  // 0: pointSize, or the widget's own size
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int pointSize = 0;  // used when pixelSize is 0
};

class FontTable {
public:
    // 0: CJK text, 1: English text, 2: the log font, 3: bold caption.
    static FontTable Default();
    // Default() overridden by the QFont dynamic properties "font0" ... "font9"
    // of a skin's root widget.
    static FontTable FromSkin(const QWidget* skinRoot);

    void Set(int index, const SkinFont& font) { m_fonts.insert(index, font); }
    // Null for an index the table does not hold (the font then stays as it was).
    const SkinFont* Find(int index) const;

private:
    QMap<int, SkinFont> m_fonts;
};

struct MarkupContext {
    QString imageDir;  // folder of <i> images; empty: SkinDirectory()
    FontTable fonts = FontTable::Default();
};

// Pure conversion to a Qt rich-text fragment.
QString MarkupToHtml(const QString& markup, const MarkupContext& context);
QString MarkupToHtml(const QString& markup);  // skin folder, default fonts

// The text a reader sees: tags removed, literal text kept, <n> as newline.
QString MarkupToPlainText(const QString& markup);

// Sets a label to the drawn mark-up (rich text format).
void SetMarkupText(QLabel* label, const QString& markup, const MarkupContext& context);

// A table font as a QFont; what the entry leaves open comes from base.
QFont ToQFont(const SkinFont& font, const QFont& base);
// Sets a control's own font to entry index of the table (no change when missing).
void ApplySkinFont(QWidget* control, const FontTable& fonts, int index);

}  // namespace kz::ui
