#include "link/LogLine.h"
#include "link/RecordLine.h"
#include "platform/AppendFile.h"

#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

using namespace kz;

namespace {

QJsonObject ParseBack(const QByteArray& line)
{
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(line, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << line.constData();
    return doc.object();
}

}  // namespace

// Whatever the box printed, a record stays one line that reads back as it was.
TEST(RecordLine, AnyTextIsOneLineThatReadsBack)
{
    const QString texts[] = {
        QStringLiteral("Copy successfully!"),
        QStringLiteral("cp: /mnt/udisk/a: Input/output error\r\r\nsecond line\n"),
        QStringLiteral("quotes \" and \\ backslashes, tab\t, bell \a, NUL ") + QChar(0) + QStringLiteral(" end"),
        QStringLiteral(u"复制成功！ Ünïcødé"),
        QStringLiteral("<font color=red>mark-up</font>"),
    };
    for (const QString& text : texts) {
        RecordEntry entry;
        entry.time = QDateTime(QDate(2026, 12, 8), QTime(9, 30, 5, 120), QTimeZone(3600));
        entry.kind = RecordKind(LOG_TIP);
        entry.shown = text;
        const QByteArray line = RecordLine(entry);
        ASSERT_TRUE(line.endsWith('\n'));
        EXPECT_EQ(line.count('\n'), 1) << line.constData();
        const QJsonObject back = ParseBack(line);
        EXPECT_EQ(back.value(u"text").toString(), text);
        EXPECT_EQ(back.value(u"kind").toString(), "tip");
        EXPECT_EQ(back.value(u"time").toString(), "2026-12-08T09:30:05.120+01:00");
    }
}

TEST(RecordLine, EmptyFieldsAreLeftOutAndExtrasJoinTheObject)
{
    RecordEntry entry;
    entry.time = QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5), QTimeZone::utc());
    entry.kind = RecordKind(LOG_SUCCESS);
    entry.key = QStringLiteral("Copy successfully!");
    entry.operation = QStringLiteral("copy");
    entry.chip = QJsonObject{{QStringLiteral("name"), QStringLiteral("KLMAG")}};
    entry.extra = QJsonObject{{QStringLiteral("md5"), QStringLiteral("d41d8cd98f00b204e9800998ecf8427e")},
                              {QStringLiteral("bytes"), 5242880}};
    const QJsonObject back = ParseBack(RecordLine(entry));
    EXPECT_FALSE(back.contains(u"serial"));
    EXPECT_FALSE(back.contains(u"text"));
    EXPECT_EQ(back.value(u"time").toString(), "2026-01-02T03:04:05.000Z");
    EXPECT_EQ(back.value(u"chip").toObject().value(u"name").toString(), "KLMAG");
    EXPECT_EQ(back.value(u"bytes").toInt(), 5242880);
    EXPECT_EQ(RecordKind(LOG_FAILURE), "failure");
    EXPECT_EQ(RecordKind(99), "info");
    EXPECT_EQ(RecordFileName(QDate(2026, 3, 9)), "2026-03-09.jsonl");
}

TEST(AppendFile, WholeLinesOrAReason)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log/2026-12-08.jsonl"));
    QString error;
    ASSERT_TRUE(AppendWholeLine(path, "{\"a\":1}\n", error)) << error.toStdString();
    ASSERT_TRUE(AppendWholeLine(path, "{\"a\":2}\n", error));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "{\"a\":1}\n{\"a\":2}\n");

    // A full disk: the write fails and says why.
    error.clear();
    EXPECT_FALSE(AppendWholeLine(QStringLiteral("/dev/full"), "{}\n", error));
    EXPECT_FALSE(error.isEmpty());

    // A folder that cannot be made, even by root.
    error.clear();
    EXPECT_FALSE(AppendWholeLine(QStringLiteral("/proc/kz-records/x.jsonl"), "{}\n", error));
    EXPECT_FALSE(error.isEmpty());
}
