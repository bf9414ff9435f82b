#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

#include "ui/Markup.h"

using namespace kz::ui;

namespace {

MarkupContext Context()
{
    MarkupContext context;
    context.imageDir = QStringLiteral("/opt/kz/skin");
    return context;
}

// The drawn document, for checking what a reader would see.
struct Drawn {
    explicit Drawn(const QString& markup) { doc.setHtml(MarkupToHtml(markup, Context())); }

    QString Text() const { return doc.toPlainText(); }
    QTextCharFormat FormatAt(const QString& needle) const
    {
        const int at = int(Text().indexOf(needle));
        EXPECT_GE(at, 0) << needle.toStdString();
        QTextCursor cursor(const_cast<QTextDocument*>(&doc));
        cursor.setPosition(at + 1);  // the format of the character before the cursor
        return cursor.charFormat();
    }
    QColor ColorOf(const QString& needle) const { return FormatAt(needle).foreground().color(); }

    QTextDocument doc;
};

}  // namespace

TEST(Markup, SuccessRowShowsIconTextAndTimeInTheirColours)
{
    const QString row = QStringLiteral(
        "<i log_successful.png><f 2><c #00CD00> MountUdisk Successfully!<c #6A5ACD> "
        "[2024-03-05 09:05:07]</c> </f></c>");
    const QString html = MarkupToHtml(row, Context());
    EXPECT_TRUE(html.contains(QStringLiteral("<img src=\"/opt/kz/skin/log_successful.png\"")));

    Drawn drawn(row);
    EXPECT_EQ(drawn.Text().trimmed(), QStringLiteral("\uFFFC MountUdisk Successfully! [2024-03-05 09:05:07]"));
    EXPECT_EQ(drawn.ColorOf(QStringLiteral("MountUdisk")), QColor(0x00, 0xCD, 0x00));
    EXPECT_EQ(drawn.ColorOf(QStringLiteral("2024")), QColor(0x6A, 0x5A, 0xCD));
}

TEST(Markup, CrosswiseClosersEndTheirOwnKind)
{
    // A failure row closes colour, font, colour: the time stamp closer must
    // not take the row's red away from text that follows inside the row.
    Drawn drawn(QStringLiteral("<f 2><c #FF0000> failed<c #6A5ACD> [ts]</c> tail</f></c> after"));
    EXPECT_EQ(drawn.ColorOf(QStringLiteral("failed")), QColor(Qt::red));
    EXPECT_EQ(drawn.ColorOf(QStringLiteral("[ts]")), QColor(0x6A, 0x5A, 0xCD));
    EXPECT_EQ(drawn.ColorOf(QStringLiteral("tail")), QColor(Qt::red));
    EXPECT_NE(drawn.ColorOf(QStringLiteral("after")), QColor(Qt::red));
}

TEST(Markup, DeviceTextIsShownLiterally)
{
    const QString raw = QStringLiteral("<DIR> a<b & c>d <c red> <c #12345> <script>x</script> 1 < 2");
    EXPECT_EQ(Drawn(raw).Text(), raw);
    EXPECT_EQ(MarkupToPlainText(raw), raw);
    EXPECT_FALSE(MarkupToHtml(raw, Context()).contains(QStringLiteral("<script>")));
}

TEST(Markup, StrayClosersAndUnknownFontsChangeNothing)
{
    Drawn drawn(QStringLiteral("</c></f>plain<f 99>still</f>"));
    EXPECT_EQ(drawn.Text(), QStringLiteral("plainstill"));
    EXPECT_EQ(drawn.FormatAt(QStringLiteral("plain")).font().family(),
              drawn.FormatAt(QStringLiteral("still")).font().family());
}

TEST(Markup, BlanksKeepTheirWidthAndLinesBreak)
{
    Drawn drawn(QStringLiteral("1.READ USER      : x\r\n  next<n>third"));
    EXPECT_EQ(drawn.Text(), QStringLiteral("1.READ USER      : x\n  next\nthird"));
}

TEST(Markup, FontsComeFromTheTable)
{
    MarkupContext context = Context();
    SkinFont big;
    big.family = QStringLiteral("DejaVu Serif");
    big.pixelSize = 30;
    big.bold = true;
    context.fonts.Set(2, big);
    QTextDocument doc;
    doc.setHtml(MarkupToHtml(QStringLiteral("<f 2>big</f>small"), context));
    QTextCursor cursor(&doc);
    cursor.setPosition(1);
    EXPECT_EQ(cursor.charFormat().font().family(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(cursor.charFormat().font().pixelSize(), 30);
    EXPECT_EQ(cursor.charFormat().fontWeight(), QFont::Bold);
    cursor.setPosition(4);
    EXPECT_NE(cursor.charFormat().font().pixelSize(), 30);
}

TEST(Markup, ImagesStayInTheSkinFolderAndAlphaColoursWork)
{
    const QString html = MarkupToHtml(QStringLiteral("<i ../../etc/x.png 3 1><c #80FF0000>r</c>"), Context());
    EXPECT_TRUE(html.contains(QStringLiteral("src=\"/opt/kz/skin/x.png\""))) << html.toStdString();
    QTextDocument doc;
    doc.setHtml(html);
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("\uFFFCr"));
    QTextCursor cursor(&doc);
    cursor.setPosition(2);
    EXPECT_EQ(cursor.charFormat().foreground().color(), QColor(Qt::red));
}

TEST(Markup, HelpTextInBothLanguages)
{
    const QString english = QStringLiteral(
        "<f 1><c #FF0000>Note :</c>READ USER & READ CHIP : How can I know to use which button</f>");
    EXPECT_EQ(MarkupToPlainText(english),
              QStringLiteral("Note :READ USER & READ CHIP : How can I know to use which button"));
    const QString chinese = QStringLiteral("<f 0><c #FF0000>注：</c>READ USER 和 READ CHIP如何区分？</f>");
    Drawn drawn(chinese);
    EXPECT_EQ(drawn.Text(), QStringLiteral("注：READ USER 和 READ CHIP如何区分？"));
    EXPECT_EQ(drawn.FormatAt(QStringLiteral("READ")).font().family(),
              FontTable::Default().Find(0)->family);
}
