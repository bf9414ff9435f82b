// What the tool prints: record lines, failure text, streamed lines, the
// device list and box choice, the progress bar, and help and manual text.
#include "cli/core/ChipText.h"
#include "cli/core/CommandTable.h"
#include "cli/core/ListedDevices.h"
#include "cli/core/ManPage.h"
#include "cli/core/Outcome.h"
#include "cli/core/ProgressText.h"
#include "master/core/ReadUserVerdict.h"
#include "cli/core/StreamLines.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace kz::cli;

namespace {

QJsonObject ParseLine(const QByteArray& line)
{
    EXPECT_TRUE(line.endsWith('\n'));
    EXPECT_EQ(line.count('\n'), 1);
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(line, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << line.toStdString();
    return doc.object();
}

const QDateTime kTime(QDate(2026, 12, 8), QTime(14, 36, 40), Qt::UTC);

}  // namespace

TEST(Outcome, RecordLinesCarryTheRecordsFields)
{
    Outcome failure = Failed("Reboot Failed!", QStringLiteral("reboot"),
                             QStringLiteral("* daemon started successfully *\r\nerror: device offline\r\n"));
    failure.message = QStringLiteral("Device is turned off,please reconnect again!");
    const QJsonObject f = ParseLine(OutcomeJson(failure, QStringLiteral("emulator-5554"), kTime));
    EXPECT_EQ(f.value("kind").toString(), "failure");
    EXPECT_EQ(f.value("key").toString(), "Reboot Failed!");
    EXPECT_EQ(f.value("text").toString(), "Reboot Failed!");
    EXPECT_EQ(f.value("operation").toString(), "reboot");
    EXPECT_EQ(f.value("serial").toString(), "emulator-5554");
    EXPECT_EQ(f.value("time").toString(), "2026-12-08T14:36:40.000Z");
    // The box's words without the client's own server-start lines.
    EXPECT_EQ(f.value("tip").toString(), "error: device offline");
    EXPECT_EQ(f.value("message").toString(), failure.message);
    EXPECT_EQ(ExitCodeOf(failure), kExitFailed);

    const Outcome data = Data(QStringLiteral("ls"), {{"files", QJsonArray{QJsonObject{{"name", "a\nb"}}}}});
    const QJsonObject d = ParseLine(OutcomeJson(data, {}, kTime));
    EXPECT_EQ(d.value("kind").toString(), "info");
    EXPECT_FALSE(d.contains("serial"));
    EXPECT_FALSE(d.contains("key"));
    EXPECT_EQ(d.value("files").toArray().at(0).toObject().value("name").toString(), "a\nb");
    EXPECT_EQ(ExitCodeOf(data), kExitOk);

    const QJsonObject s = ParseLine(StreamLineJson(QStringLiteral("READ_USER: 5%"), QStringLiteral("read-user-master"),
                                                   QStringLiteral("emulator-5556"), kTime));
    EXPECT_EQ(s.value("text").toString(), "READ_USER: 5%");
    EXPECT_EQ(s.value("kind").toString(), "info");
}

TEST(Outcome, FailureTextPutsTheMessageFirstAndLeavesOutWhatIsEmpty)
{
    Outcome failure = Failed("Delete failed!", QStringLiteral("rm"), QStringLiteral("rm failed for x\r\n"));
    EXPECT_EQ(FailureText(failure), "Delete failed!\nrm failed for x\n");
    failure.message = QStringLiteral("No device found!");
    EXPECT_EQ(FailureText(failure), "No device found!\nDelete failed!\nrm failed for x\n");
    EXPECT_EQ(FailureText(Failed(nullptr, QStringLiteral("x"))), "");
}

TEST(StreamLines, WholeLinesFromPiecesWithoutTheirReturns)
{
    StreamLines lines;
    EXPECT_EQ(lines.Feed(QStringLiteral("READ_US")), QStringList());
    EXPECT_EQ(lines.Feed(QStringLiteral("ER: 5%\r\r\nREAD_USER: 10%\r")), QStringList{"READ_USER: 5%"});
    EXPECT_EQ(lines.Feed(QStringLiteral("\n\nMaster")), (QStringList{"READ_USER: 10%", ""}));
    EXPECT_EQ(lines.Finish(), QStringList{"Master"});
    EXPECT_EQ(lines.Finish(), QStringList());
}

TEST(ReadUserVerdict, JudgedByTheToolsErrors)
{
    const struct {
        const char* output;
        bool ok;
        const char* message;
    } kCases[] = {
        {"READ_USER: 100%\r\r\nREAD_USER done: 16384 MB read, master saved\r\r\n", true, ""},
        {"READ_USER: 35%\r\r\nREAD_USER error: Input/output error\r\r\n", false, ""},
        {"No eMMC inside\r\r\n", false, "The chip is not detected, please placed chip and try again!"},
        {"error: device offline\r\n", false, "Device is turned off,please reconnect again!"},
        {"* daemon started successfully *\r\n", false, ""},
        {"", false, ""},
    };
    for (const auto& c : kCases) {
        const kz::master::ReadUserVerdict v = kz::master::JudgeReadUserOutput(QString::fromUtf8(c.output));
        EXPECT_EQ(v.ok, c.ok) << c.output;
        EXPECT_EQ(v.message, QString::fromUtf8(c.message)) << c.output;
    }
}

TEST(ListedDevices, EveryLineWithItsStateAndTheBoxChosen)
{
    const QString two = QStringLiteral("* daemon started successfully *\r\nList of devices attached \r\n"
                                       "emulator-5554\tdevice\r\nemulator-5556\toffline\r\n\r\n");
    const kz::TrackedList listed = ListedDevices(two);
    ASSERT_EQ(listed.size(), 2);
    EXPECT_EQ(listed[1], (kz::TrackedDevice{"emulator-5556", "offline"}));
    const SerialChoice several = ChooseSerial(listed);
    EXPECT_TRUE(several.serial.isEmpty());
    EXPECT_TRUE(several.refusal.contains("emulator-5554 (device), emulator-5556 (offline)")) << several.refusal.toStdString();

    const SerialChoice one = ChooseSerial(ListedDevices(QStringLiteral("List of devices attached \r\nABC\tunauthorized\r\n")));
    EXPECT_EQ(one.serial, "ABC");
    EXPECT_TRUE(one.refusal.isEmpty());
    // No header: nothing listed, even if a line looks like a device.
    EXPECT_TRUE(ListedDevices(QStringLiteral("adb: not found\r\nx\tdevice\r\n")).isEmpty());
    const SerialChoice none = ChooseSerial(ListedDevices(QStringLiteral("List of devices attached \r\n\r\n")));
    EXPECT_TRUE(none.serial.isEmpty() && none.refusal.isEmpty());
}

TEST(ProgressText, BarFillsWithThePercent)
{
    EXPECT_EQ(ProgressBarText(50, 10, "copy"), "\r[#####     ]  50% copy");
    EXPECT_EQ(ProgressBarText(140, 4, "x"), "\r[####] 100% x");
    EXPECT_EQ(ProgressBarText(-3, 4, "x"), "\r[    ]   0% x");
}

TEST(ChipText, RecordFieldsThenPartitions)
{
    const QJsonObject record{{"ack", "Off"},
                             {"manufacturer", "Samsung"},
                             {"partitions", QJsonArray{QJsonObject{{"number", 4}, {"name", "USER"}, {"bytes", 17179869184.0}}}}};
    EXPECT_EQ(ChipRecordText(record), "manufacturer: Samsung\nack: Off\npartition #4: USER, 17179869184 bytes\n");
}

TEST(HelpAndManual, EveryCommandIsDescribedInBoth)
{
    const QString help = ToolHelp();
    const QString man = ManPage(QStringLiteral("1.0.0"));
    EXPECT_TRUE(man.startsWith(".TH KORVALD-EMMC-CLI 1 "));
    for (const CommandSpec& command : Commands()) {
        EXPECT_TRUE(help.contains(QStringLiteral("  %1 ").arg(QLatin1String(command.name)))) << command.name;
        EXPECT_TRUE(man.contains(QStringLiteral(".TP\n\\fB%1\\fR").arg(RoffEscape(QLatin1String(command.name)))))
            << command.name;
        const QString own = CommandHelp(command);
        EXPECT_TRUE(own.startsWith(QStringLiteral("Usage: ") + Synopsis(command))) << command.name;
        for (const OptionSpec& option : command.options) {
            EXPECT_TRUE(own.contains(QLatin1String(option.name))) << command.name << option.name;
            EXPECT_TRUE(man.contains(RoffEscape(QLatin1String(option.name)))) << command.name << option.name;
        }
    }
    EXPECT_TRUE(help.contains(ExitCodesText()));
}

TEST(HelpAndManual, RoffReadsTextLiterally)
{
    EXPECT_EQ(RoffEscape(QStringLiteral("a-b\\c")), "a\\-b\\ec");
    EXPECT_EQ(RoffEscape(QStringLiteral(".x\n'y")), "\\&.x\n\\&'y");
}
