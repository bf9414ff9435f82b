#include "ui/MarkupParser.h"

#include <QRegularExpression>

namespace kz::ui {

namespace {

bool ParseColor(const QString& text, QColor* color)
{
    static const QRegularExpression hex(QStringLiteral("^#([0-9A-Fa-f]{6}|[0-9A-Fa-f]{8})$"));
    if (!hex.match(text).hasMatch())
        return false;
    const QString rgb = text.right(6);  // #AARRGGBB: the alpha is not drawn
    *color = QColor(QLatin1Char('#') + rgb);
    return color->isValid();
}

// Parses the inside of one "<...>"; false when it is not a known tag.
bool ParseTag(const QString& inner, MarkupToken* token)
{
    static const QMap<QString, MarkupToken::Kind> simple = {
        {QStringLiteral("b"), MarkupToken::OpenBold},     {QStringLiteral("u"), MarkupToken::OpenUnderline},
        {QStringLiteral("n"), MarkupToken::Newline},      {QStringLiteral("/b"), MarkupToken::CloseBold},
        {QStringLiteral("/u"), MarkupToken::CloseUnderline}, {QStringLiteral("/c"), MarkupToken::CloseColor},
        {QStringLiteral("/f"), MarkupToken::CloseFont},
    };
    if (auto it = simple.constFind(inner); it != simple.constEnd()) {
        token->kind = *it;
        return true;
    }
    static const QRegularExpression font(QStringLiteral("^f\\s*(\\d{1,3})\\s*$"));
    static const QRegularExpression color(QStringLiteral("^c\\s+(\\S+)\\s*$"));
    static const QRegularExpression image(QStringLiteral("^i\\s+([^\\s<>]+)(\\s[^<>]*)?$"));
    if (auto m = font.match(inner); m.hasMatch()) {
        token->kind = MarkupToken::OpenFont;
        token->font = m.captured(1).toInt();
        return true;
    }
    if (auto m = color.match(inner); m.hasMatch() && ParseColor(m.captured(1), &token->color)) {
        token->kind = MarkupToken::OpenColor;
        return true;
    }
    if (auto m = image.match(inner); m.hasMatch()) {
        token->kind = MarkupToken::Image;
        token->text = m.captured(1);
        return true;
    }
    return false;
}

void AppendText(QList<MarkupToken>& tokens, QStringView text)
{
    if (text.isEmpty())
        return;
    if (!tokens.isEmpty() && tokens.last().kind == MarkupToken::Text)
        tokens.last().text += text;
    else
        tokens.append(MarkupToken{MarkupToken::Text, text.toString(), 0, {}});
}

}  // namespace

QList<MarkupToken> TokenizeMarkup(const QString& markup)
{
    QList<MarkupToken> tokens;
    qsizetype textStart = 0;
    qsizetype pos = 0;
    while ((pos = markup.indexOf(QLatin1Char('<'), pos)) >= 0) {
        const qsizetype end = markup.indexOf(QLatin1Char('>'), pos + 1);
        const qsizetype nextOpen = markup.indexOf(QLatin1Char('<'), pos + 1);
        MarkupToken token;
        const bool closedHere = end >= 0 && (nextOpen < 0 || end < nextOpen);
        if (closedHere && ParseTag(markup.mid(pos + 1, end - pos - 1), &token)) {
            AppendText(tokens, QStringView(markup).mid(textStart, pos - textStart));
            tokens.append(token);
            pos = textStart = end + 1;
        } else {
            ++pos;  // a literal '<'
        }
    }
    AppendText(tokens, QStringView(markup).mid(textStart));
    return tokens;
}

}  // namespace kz::ui
