#pragma once
// Splits log/help mark-up into tokens; the renderers in Markup.cpp turn them
// into rich text or plain text.  Only well-formed known tags become tags;
// everything else is text.

#include <QColor>
#include <QList>
#include <QString>

namespace kz::ui {

struct MarkupToken {
    enum Kind { Text, Image, Newline, OpenFont, OpenColor, OpenBold, OpenUnderline,
                CloseFont, CloseColor, CloseBold, CloseUnderline };
    Kind kind = Text;
    QString text;   // Text: the literal text; Image: the file name
    int font = 0;   // OpenFont
    QColor color;   // OpenColor
};

QList<MarkupToken> TokenizeMarkup(const QString& markup);

}  // namespace kz::ui
