// One operator's session in one main window on the simulated box, through
// Debian's adb: the chip is read, a file is copied, a boot partition is read
// and written back, then a copy and a boot write the box spoils.  The day's
// record, read back line by line, has to tell that story in order: the chip
// and the box on every entry, the sums that prove (or disprove) each
// transfer, and one line for each row the window showed.
#include <QAbstractButton>
#include <QCryptographicHash>
#include <QDateTime>
#include <QJsonObject>
#include <QLineEdit>
#include <functional>
#include <gtest/gtest.h>

#include "FileManagerBoxFixture.h"
#include "link/LogLine.h"
#include "board/core/BoardTexts.h"
#include "device/QtPrinting.h"

using namespace kz::test;
namespace bt = kz::board::text;
namespace ft = kz::files::text;

namespace {

const QString kBootImage = QStringLiteral("boot1 saved.img");

QString Md5(const QByteArray& bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
}

// A file's contents, unlike at every offset (a run of one byte would hide a
// copy that moved data around).
QByteArray Pattern(int size, int step)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char(i * step + i / 4096);
    return bytes;
}

QString Str(const QJsonObject& line, const char* field)
{
    return line.value(QLatin1String(field)).toString();
}

QDateTime TimeOf(const QJsonObject& line)
{
    return QDateTime::fromString(Str(line, "time"), Qt::ISODateWithMs);
}

// What each line is: its kind and the operation it belongs to.
QStringList Outline(const QList<QJsonObject>& lines)
{
    QStringList outline;
    for (const QJsonObject& line : lines)
        outline << (Str(line, "kind") + u' ' + Str(line, "operation")).trimmed();
    return outline;
}

void ExpectTimesAscendWithZone(const QList<QJsonObject>& lines)
{
    QDateTime last;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QDateTime time = TimeOf(lines[i]);
        EXPECT_TRUE(time.isValid() && time.timeSpec() != Qt::LocalTime) << "line " << i + 1 << ": "
                                                                         << qPrintable(Str(lines[i], "time"));
        EXPECT_TRUE(!last.isValid() || last <= time) << "line " << i + 1 << " goes back in time";
        last = time;
    }
}

// From the first chip line on, every line names the box and the chip read last.
void ExpectTaggedWithBoxAndChip(const QList<QJsonObject>& lines, const QString& serial)
{
    QJsonObject chip;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (Str(lines[i], "kind") == u"chip") {
            chip = lines[i].value(u"chip").toObject();
            EXPECT_FALSE(Str(chip, "manufacturer").isEmpty()) << "line " << i + 1;
        }
        if (chip.isEmpty())
            continue;
        EXPECT_EQ(lines[i].value(u"chip").toObject(), chip) << "line " << i + 1;
        EXPECT_EQ(Str(lines[i], "serial"), serial) << "line " << i + 1;
    }
}

// The window's rows are the record's entries (chip lines aside), one to
// one: each row is made of its entry's kind, text and time.
void ExpectRowsAreTheEntries(const QStringList& rows, const QList<QJsonObject>& lines)
{
    const QMap<QString, int> styles{
        {QStringLiteral("success"), kz::LOG_SUCCESS},
        {QStringLiteral("failure"), kz::LOG_FAILURE},
        {QStringLiteral("tip"), kz::LOG_TIP},
    };
    QStringList fromRecord;
    for (const QJsonObject& line : lines) {
        if (Str(line, "kind") != u"chip")
            fromRecord << kz::ComposeLogLine(styles.value(Str(line, "kind"), -1), Str(line, "text"),
                                             TimeOf(line).toLocalTime());
    }
    EXPECT_EQ(rows, fromRecord);
}

}  // namespace

class SessionRecord : public FileManagerBox {
protected:
    static std::function<bool(QWidget*)> Holding(const char* control)
    {
        return [name = QString::fromUtf8(control)](QWidget* m) { return m->findChild<QWidget*>(name) != nullptr; };
    }
    // Reads the chip information and closes its dialog once it shows.
    void ReadChipInformation()
    {
        WhenModal(Holding("edit_emmcinfo"), [](QWidget* info) { ClickButton(info, "closebtn"); });
        ClickButton(frame->GetHWND(), "btn_readInfo");
    }
    // Opens the board dialog (the chip is read again on the way), runs
    // `steps` in it and closes it.
    void InBoard(const std::function<void(QWidget*)>& steps)
    {
        bool ran = false;
        WhenModal(Holding("editManufacturer"), [&](QWidget* board) {
            steps(board);
            ran = true;
            ClickButton(board, "closebtn");
        });
        ClickButton(frame->GetHWND(), "btn_motherBoard");
        EXPECT_TRUE(ran);
    }
    // Clicks a transfer's button; returns once its message box was answered
    // and the dialog gave the button back.
    void Transfer(QWidget* board, const char* button)
    {
        const int before = boxes.Count();
        auto* control = board->findChild<QAbstractButton*>(QString::fromUtf8(button));
        ClickButton(board, button);
        ASSERT_TRUE(boxes.WaitForCount(before + 1, 30000)) << box.BoxLog();
        ASSERT_TRUE(WaitFor([&] { return control->isEnabled(); }, 10000));
    }
    void ReadBoot1(QWidget* board)
    {
        WhenModal(NameDialogReady(), [](QWidget* dialog) {
            dialog->findChild<QLineEdit*>(QStringLiteral("edit_filename"))->setText(kBootImage);
            ClickButton(dialog, "btn_ok");
        });
        Transfer(board, "btn_readboot1");
    }
    // Writes boot 1 from the image the read saved on the SD card.
    void WriteBoot1FromSdcard(QWidget* board)
    {
        ClickButton(board, "option_boot1_sdcard");
        board->findChild<QLineEdit*>(QStringLiteral("edit_writeboot1filename"))->setText(kBootImage);
        Transfer(board, "btn_writeboot1");
    }
};

TEST_F(SessionRecord, TheDaysRecordTellsTheWholeSessionInOrder)
{
    const QByteArray system = Pattern(3 << 20, 7);
    const QByteArray kernel = Pattern(200000, 13);
    ASSERT_TRUE(WriteAll(box.StateDir() / "udisk" / "system.img", system));
    ASSERT_TRUE(WriteAll(box.StateDir() / "udisk" / "kernel.bin", kernel));

    ReadChipInformation();
    CopyFromStick(QStringLiteral("system.img"), QStringLiteral("uramdisk.img"));
    InBoard([&](QWidget* board) {
        ReadBoot1(board);
        WriteBoot1FromSdcard(board);
    });
    ASSERT_EQ(box.Ctl("corrupt cp"), "ok");
    CopyFromStick(QStringLiteral("kernel.bin"), QStringLiteral("uImage"));
    ASSERT_EQ(box.Ctl("corrupt"), "ok");
    ASSERT_EQ(box.Ctl("corrupt write"), "ok");
    InBoard([&](QWidget* board) { WriteBoot1FromSdcard(board); });
    ASSERT_EQ(boxes.Texts(), (QStringList{T(ft::CopyOk), T(bt::Boot1SaveOk), T(bt::Boot1WriteOk), T(ft::CopyFailed),
                                          T(bt::Boot1WriteFailed)}))
        << box.BoxLog();

    const QList<QJsonObject> lines = RecordLines();
    ExpectTimesAscendWithZone(lines);
    ExpectTaggedWithBoxAndChip(lines, QString::fromStdString(box.Serial()));
    ExpectRowsAreTheEntries(LogLines(), lines);

    // The whole story, line by line: nothing missing, nothing told that
    // did not happen.  A chip line opens every chip read (the board dialog
    // reads the chip again); a failure's tip holds the box's sums.
    enum { Mount, Chip, Copied, BoardChip, Read, Written, SpoiltCopy, SpoiltCopyTip, WriteChip, SpoiltWrite, SpoiltTip };
    const QStringList story{"success mount",      "chip",                "success copy", "chip",
                            "success read-boot1", "success write-boot1", "failure copy", "tip copy",
                            "chip",               "failure write-boot1", "tip write-boot1"};
    ASSERT_EQ(Outline(lines), story);

    const QJsonObject& copied = lines[Copied];
    EXPECT_EQ(Str(copied, "sourceMd5"), Md5(system));
    EXPECT_EQ(Str(copied, "targetMd5"), Md5(system));

    const QByteArray saved = ReadAll(box.StateDir() / "sdcard" / kBootImage.toStdString());
    ASSERT_FALSE(saved.isEmpty());
    const QJsonObject& read = lines[Read];
    EXPECT_EQ(Str(read, "file"), kBootImage);
    EXPECT_EQ(Str(read, "md5"), Md5(saved));
    EXPECT_EQ(read.value(u"bytes").toInteger(), saved.size());

    const QJsonObject& written = lines[Written];
    EXPECT_EQ(Str(written, "verdict"), u"verified");
    EXPECT_EQ(Str(written, "sourceMd5"), Md5(saved));
    EXPECT_EQ(Str(written, "readBackMd5"), Md5(saved));

    const QJsonObject& spoiltCopy = lines[SpoiltCopy];
    EXPECT_EQ(Str(spoiltCopy, "sourceMd5"), Md5(kernel));
    EXPECT_EQ(Str(spoiltCopy, "targetMd5").size(), 32);
    EXPECT_NE(Str(spoiltCopy, "targetMd5"), Md5(kernel));
    EXPECT_TRUE(Str(lines[SpoiltCopyTip], "text").contains(Str(spoiltCopy, "targetMd5")));

    const QJsonObject& spoiltWrite = lines[SpoiltWrite];
    EXPECT_EQ(Str(spoiltWrite, "key"), QString::fromUtf8(bt::Boot1WriteFailed));
    EXPECT_EQ(Str(spoiltWrite, "verdict"), u"sum-differs");
    EXPECT_EQ(Str(spoiltWrite, "sourceMd5"), Md5(saved));
    EXPECT_EQ(Str(spoiltWrite, "readBackMd5").size(), 32);
    EXPECT_NE(Str(spoiltWrite, "readBackMd5"), Md5(saved));
    EXPECT_TRUE(Str(lines[SpoiltTip], "text").contains(Str(spoiltWrite, "readBackMd5")));
}
