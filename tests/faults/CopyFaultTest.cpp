// A copy from the SD card to the stick interrupted by every fault the box
// and its adb server can have: the operator is told it failed, the log holds
// the failure with the box's words, the source is untouched, and a copy made
// once the box is back succeeds.
#include <QLineEdit>
#include <QScopeGuard>
#include <gtest/gtest.h>

#include "FaultJourney.h"
#include "files/FileManager.h"
#include "files/core/FileTexts.h"
#include "ui/Markup.h"

using namespace kz::test;
namespace ft = kz::files::text;

namespace {

const char kSource[] = "big source.bin";
const char kTarget[] = "big target.bin";

class CopyFault : public FaultJourney, public ::testing::WithParamInterface<Fault> {
protected:
    void Copy(QWidget* modal, const char* source, const char* target)
    {
        SelectRow(modal, RowOf(modal, QString::fromUtf8(source)));
        modal->findChild<QLineEdit*>(QStringLiteral("edit_name"))->setText(QString::fromUtf8(target));
        ClickButton(modal, "btn_copy");
    }
    // The headline, then a tip with the box's own words, and no success.
    void ExpectFailureLogged(const QStringList& log) const
    {
        int failed = 0;
        while (failed < log.size() && !log[failed].contains(T(ft::CopyFailed)))
            ++failed;
        ASSERT_LT(failed + 1, log.size()) << qPrintable(log.join('\n'));
        EXPECT_TRUE(log[failed + 1].contains(QStringLiteral("log_tips")));
        EXPECT_FALSE(kz::ui::MarkupToPlainText(log[failed + 1]).trimmed().isEmpty())
            << "no words of the box in the log:\n" << qPrintable(log.join('\n'));
        EXPECT_TRUE(log.filter(T(ft::CopyOk)).isEmpty()) << qPrintable(log.join('\n'));
    }
    qint64 TargetBytes() const
    {
        std::error_code ec;
        const auto size = std::filesystem::file_size(box.StateDir() / "udisk" / kTarget, ec);
        return ec ? 0 : qint64(size);
    }
};

TEST_P(CopyFault, IsReportedTrulyAndTheNextCopyWorks)
{
    const Fault& fault = GetParam();
    const QByteArray content = Pattern(kPayloadBytes);
    ASSERT_NO_FATAL_FAILURE(WriteFile(box.StateDir() / "sdcard" / kSource, content));
    WriteFile(box.StateDir() / "sdcard" / "small.txt", "small");
    for (int answer = 0; answer < 3; ++answer)
        boxes.QueueAnswer(kz::MsgAnswer::Ok);
    // The monitor may see an offline box while it is offline and say so in a
    // box of its own; only the copies' boxes are judged here.
    const auto copyBoxes = [&] {
        QStringList texts = boxes.Texts();
        texts.removeAll(frame->Text(kz::text::DeviceOfflineReboot));
        return texts;
    };
    QStringList firstLog;
    WhenModal([&](QWidget* m) { return RowOf(m, QString::fromUtf8(kSource)) >= 0; }, [&](QWidget* modal) {
        // A failed step must not leave the modal window waiting for ever.
        const auto close = qScopeGuard([modal] { ClickButton(modal, "closebtn"); });
        if (fault.beforeStart)
            ASSERT_NO_FATAL_FAILURE(Inject(fault));
        Copy(modal, kSource, kTarget);
        if (!fault.beforeStart) {
            ASSERT_TRUE(WaitFor([&] { return TargetBytes() > 0; }, 10000)) << box.BoxLog();
            ASSERT_LT(TargetBytes(), kPayloadBytes) << "the copy ended before the fault";
            ASSERT_NO_FATAL_FAILURE(Inject(fault));
        }
        ASSERT_TRUE(WaitFor([&] { return copyBoxes().size() >= 1; }, kEndsWithinMs)) << "the copy never ended\n"
                                                                                       << box.BoxLog();
        // The log lines follow the operator's answer.
        WaitFor([&] { return !LogLines().filter(T(ft::CopyFailed)).isEmpty(); }, 2000);
        ProcessEventsFor(50);
        firstLog = LogLines();
        ASSERT_NO_FATAL_FAILURE(Restore(fault));
        if (std::string(fault.inject) == "remove-udisk")
            ASSERT_TRUE(frame->MountUdisk());
        Copy(modal, "small.txt", "small copy.txt");
        ASSERT_TRUE(WaitFor([&] { return copyBoxes().size() >= 2; }, kEndsWithinMs)) << box.BoxLog();
    });
    OpenFileManager(frame.get(), COPY_SDCARD_TO_UDISK);

    const QStringList texts = copyBoxes();
    ASSERT_EQ(texts.size(), 2) << box.BoxLog();
    EXPECT_EQ(texts[1], T(ft::CopyOk));
    if (fault.boxCarriesOn && texts[0] == T(ft::CopyOk)) {
        EXPECT_EQ(ReadAll(box.StateDir() / "udisk" / kTarget), content) << "a half-written target reported as good";
    } else {
        EXPECT_EQ(texts[0], T(ft::CopyFailed)) << box.BoxLog();
        ExpectFailureLogged(firstLog);
    }
    EXPECT_EQ(ReadAll(box.StateDir() / "sdcard" / kSource), content) << "the source was touched";
    EXPECT_EQ(ReadAll(box.StateDir() / "udisk" / "small copy.txt"), "small");
}

INSTANTIATE_TEST_SUITE_P(Faults, CopyFault,
                         ::testing::Values(kUnplug, kKillServer, kRemoveStick, kOffline, kUnauthorized,
                                           Fault{"IoError", "fail cp", "fail", true}),
                         [](const auto& info) { return std::string(info.param.name); });

// The window closed while the copy runs: the copy goes on to its end on the
// box, and what the operator is told afterwards is what happened.
TEST_F(FaultJourney, FileManagerClosedDuringACopy)
{
    const QByteArray content = Pattern(kPayloadBytes);
    ASSERT_NO_FATAL_FAILURE(WriteFile(box.StateDir() / "sdcard" / kSource, content));
    boxes.QueueAnswer(kz::MsgAnswer::Ok);
    WhenModal([&](QWidget* m) { return RowOf(m, QString::fromUtf8(kSource)) >= 0; }, [&](QWidget* modal) {
        SelectRow(modal, RowOf(modal, QString::fromUtf8(kSource)));
        modal->findChild<QLineEdit*>(QStringLiteral("edit_name"))->setText(QString::fromUtf8(kTarget));
        ClickButton(modal, "btn_copy");
        ProcessEventsFor(500);
        ClickButton(modal, "closebtn");
    });
    OpenFileManager(frame.get(), COPY_SDCARD_TO_UDISK);
    ASSERT_TRUE(boxes.WaitForCount(1, kEndsWithinMs)) << box.BoxLog();
    EXPECT_EQ(boxes.Texts(), QStringList{T(ft::CopyOk)});
    EXPECT_EQ(ReadAll(box.StateDir() / "udisk" / kTarget), content);
    EXPECT_TRUE(WaitFor([&] { return !LogLines().filter(T(ft::CopyOk)).isEmpty(); }));
    ExpectNextOperationWorks();
}

}  // namespace
