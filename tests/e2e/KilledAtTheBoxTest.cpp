// A verified copy's verdict is on disk while its message box waits for the
// operator: the program killed then (SIGKILL) has lost nothing of it.
#include <QComboBox>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <csignal>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include "FileManagerBoxFixture.h"

using namespace kz::test;

namespace {
const char kMark[] = "KZ_KILL_AT_BOX_MARK";  // the file where the child says its box is up
}  // namespace

// The child: copies, then waits at the verdict's box until it is killed.
TEST_F(FileManagerBox, CopyWaitsAtItsVerdictUntilKilled)
{
    if (qgetenv(kMark).isEmpty())
        GTEST_SKIP() << "the child of RecordBeforeTheBox";
    ASSERT_TRUE(WriteAll(box.StateDir() / "udisk" / "system.img", QByteArray(300000, 'k')));
    boxes.Hold();
    WhenModal([](QWidget* m) { return RowOf(m, QStringLiteral("system.img")) >= 0; }, [&](QWidget* modal) {
        SelectRow(modal, RowOf(modal, QStringLiteral("system.img")));
        modal->findChild<QComboBox*>(QStringLiteral("comb_name"))->setCurrentText(QStringLiteral("uramdisk.img"));
        ClickButton(modal, "btn_copy");
        ASSERT_TRUE(boxes.WaitForCount(1, 100000));
        // The record, then the folders a killed child leaves behind.
        const QStringList said{TodaysRecordFile(), dataHome.path(), configHome.path(), bin.Dir()};
        QFile file(QString::fromUtf8(qgetenv(kMark)) + QStringLiteral(".part"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(said.join(u'\n').toUtf8()) > 0);
        file.rename(QString::fromUtf8(qgetenv(kMark)));
        ProcessEventsFor(120000);
    });
    OpenFileManager(frame.get(), COPY_UDISK_TO_SDCARD);
}

TEST(RecordBeforeTheBox, ACopyKilledAtItsVerdictIsInTheRecord)
{
    QTemporaryDir dir;
    QFile mark(dir.filePath(QStringLiteral("mark")));
    qputenv(kMark, mark.fileName().toUtf8());
    const std::string self = QFile::symLinkTarget(QStringLiteral("/proc/self/exe")).toStdString();
    const char* argv[] = {self.c_str(), "--gtest_filter=FileManagerBox.CopyWaitsAtItsVerdictUntilKilled", nullptr};
    pid_t child = -1;
    ASSERT_EQ(posix_spawn(&child, self.c_str(), nullptr, nullptr, const_cast<char**>(argv), environ), 0);
    qunsetenv(kMark);
    for (int waited = 0; !mark.exists() && waitpid(child, nullptr, WNOHANG) == 0 && waited < 1800; ++waited)
        usleep(50000);
    ::kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    ASSERT_TRUE(mark.open(QIODevice::ReadOnly)) << "the child never showed the copy's box";
    const QStringList said = QString::fromUtf8(mark.readAll()).split(u'\n');
    QFile record(said.first());
    ASSERT_TRUE(record.open(QIODevice::ReadOnly)) << qPrintable(record.fileName());
    const QJsonObject verdict = QJsonDocument::fromJson(record.readAll().trimmed().split('\n').last()).object();
    EXPECT_EQ(verdict["operation"].toString(), "copy");
    EXPECT_EQ(verdict["key"].toString(), QString::fromUtf8(kz::files::text::CopyOk));
    for (const QString& folder : said.mid(1))
        QDir(folder).removeRecursively();
}
