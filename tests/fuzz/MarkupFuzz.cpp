// Log rows and help labels: device answers reach the mark-up as they stand.
#include "tests/fuzz/FuzzInput.h"
#include "tests/fuzz/FuzzTarget.h"
#include "ui/Markup.h"
#include "ui/MarkupParser.h"

#include <QRegularExpression>

namespace {

const QString kImageDir = QStringLiteral("/skin");

// What is left of the HTML when the elements the renderer writes are taken
// out: a '<' in it came from the text unescaped.
QString WithoutOwnElements(QString html)
{
    static const QRegularExpression own(QStringLiteral(
        "<br/>|</span>|<span style=\"[^\"<>]*\">|<img src=\"/skin/[^\"<>/]*\" style=\"vertical-align:middle\"/>"));
    return html.remove(own);
}

}  // namespace

KZ_FUZZ_TARGET(Markup)
{
    using namespace kz::ui;
    const QString markup = kz::fuzz::Text(data, size);
    const QString html = MarkupToHtml(markup, MarkupContext{kImageDir, FontTable::Default()});
    const QString rest = WithoutOwnElements(html);
    KZ_FUZZ_CHECK(!rest.contains(u'<') && !rest.contains(u'>'));
    KZ_FUZZ_CHECK(html.count(QStringLiteral("<span")) == html.count(QStringLiteral("</span>")));
    // The widest expansion is a styled one-character run after a short tag.
    KZ_FUZZ_CHECK(html.size() <= 64 * markup.size() + 64);

    const QString plain = MarkupToPlainText(markup);
    KZ_FUZZ_CHECK(plain.size() <= markup.size());
    qsizetype textSize = 0;
    for (const MarkupToken& token : TokenizeMarkup(markup)) {
        KZ_FUZZ_CHECK(token.kind != MarkupToken::Text || !token.text.isEmpty());
        KZ_FUZZ_CHECK(token.kind != MarkupToken::OpenColor || token.color.isValid());
        if (token.kind == MarkupToken::Text)
            textSize += token.text.size();
    }
    KZ_FUZZ_CHECK(textSize <= plain.size());
    // Text without '<' is no mark-up at all.
    if (!markup.contains(u'<'))
        KZ_FUZZ_CHECK(plain == markup);
}
