// Copies proved by checksum on the simulated box: a file over 4 GiB that is
// sparse on the host, and a copy whose target the box corrupts after cp.
#include <QElapsedTimer>
#include <QJsonObject>
#include <QLineEdit>
#include <fstream>
#include <gtest/gtest.h>

#include "FileManagerBoxFixture.h"
#include "files/core/FileTexts.h"

using namespace kz::test;
namespace ft = kz::files::text;

namespace {

// Writes `bytes` at `offset`, extending the file with a hole as needed.
void Put(const std::filesystem::path& file, uint64_t offset, const std::string& bytes)
{
    std::fstream out(file, std::ios::in | std::ios::out | std::ios::binary);
    out.seekp(static_cast<std::streamoff>(offset));
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

class VerifiedCopyBox : public FileManagerBox {
protected:
    // No pacing, so that the copy of a sparse file costs what its data
    // costs; a stick big enough to hold it.
    std::string ConfigJson() const override { return R"({"speed": 0, "udisk": {"capacityBytes": 17179869184}})"; }

    // The record's line of the copy's result.
    QJsonObject CopyRecord()
    {
        QJsonObject result;
        EXPECT_TRUE(WaitFor([&] {
            for (const QJsonObject& line : RecordLines()) {
                const QString kind = line.value(u"kind").toString();
                if (line.value(u"operation").toString() == u"copy" && (kind == u"success" || kind == u"failure"))
                    result = line;
            }
            return !result.isEmpty();
        }));
        return result;
    }
};

TEST_F(VerifiedCopyBox, SparseFileOver4GiBIsCopiedAndProvedBySums)
{
#if defined(__SANITIZE_THREAD__)
    // Summing 8 GiB in an instrumented box outlasts any sensible wait; the
    // smaller copies run the same code.
    GTEST_SKIP() << "too slow under ThreadSanitizer";
#endif
    const auto source = box.StateDir() / "udisk" / "big.img";
    const uint64_t size = (4ull << 30) + (1 << 20) + 7;
    std::ofstream(source, std::ios::binary).close();
    std::filesystem::resize_file(source, size);
    Put(source, 0, "head");
    Put(source, 3ull << 30, "middle");
    Put(source, size - 5, "tail!");
    QElapsedTimer timer;
    timer.start();
    CopyFromStick(QStringLiteral("big.img"), QStringLiteral("uramdisk.img"));
    std::printf("copy and verification of %llu bytes: %lld ms\n", static_cast<unsigned long long>(size),
                static_cast<long long>(timer.elapsed()));
    EXPECT_EQ(boxes.Texts(), QStringList{T(ft::CopyOk)}) << box.BoxLog();
    const auto target = box.StateDir() / "sdcard" / "uramdisk.img";
    EXPECT_EQ(std::filesystem::file_size(target), size);
    const QJsonObject record = CopyRecord();
    EXPECT_EQ(record.value(u"kind").toString(), u"success");
    EXPECT_EQ(record.value(u"sourceMd5").toString().size(), 32);
    EXPECT_EQ(record.value(u"sourceMd5"), record.value(u"targetMd5"));
    // The box's ls tells the size modulo 2^32 only.
    EXPECT_EQ(record.value(u"listedBytes").toInteger(), static_cast<qint64>(size % (1ull << 32)));
    std::printf("record: copyMs %lld, verifyMs %lld\n", record.value(u"copyMs").toInteger(),
                record.value(u"verifyMs").toInteger());
}

// The box flips a byte of the target after cp: sizes agree, sums do not.
TEST_F(VerifiedCopyBox, CorruptedTargetIsReportedAsFailed)
{
    {
        std::ofstream source(box.StateDir() / "udisk" / "kernel.bin", std::ios::binary);
        for (int i = 0; i < 200000; ++i)
            source.put(static_cast<char>(i * 13));
    }
    ASSERT_EQ(box.Ctl("corrupt cp"), "ok");
    CopyFromStick(QStringLiteral("kernel.bin"), QStringLiteral("uImage"));
    EXPECT_EQ(boxes.Texts(), QStringList{T(ft::CopyFailed)}) << box.BoxLog();
    const QJsonObject record = CopyRecord();
    EXPECT_EQ(record.value(u"kind").toString(), u"failure");
    EXPECT_EQ(record.value(u"key").toString(), QString::fromUtf8(ft::CopyFailed));
    const QString sourceMd5 = record.value(u"sourceMd5").toString();
    const QString targetMd5 = record.value(u"targetMd5").toString();
    EXPECT_EQ(sourceMd5.size(), 32);
    EXPECT_EQ(targetMd5.size(), 32);
    EXPECT_NE(sourceMd5, targetMd5);
    // The tip is the box's own md5sum lines.
    EXPECT_TRUE(WaitFor([&] { return LogLines().filter(targetMd5).size() == 1; }));
    EXPECT_EQ(LogLines().filter(T(ft::CopyOk)), QStringList());
}

// What the operator sees: the main window's log tells the verified copy.
// With KZ_SCREENSHOT naming a file, the window is saved there (the README's
// picture is made so).
TEST_F(VerifiedCopyBox, TheMainWindowLogsTheProvedCopy)
{
    {
        std::ofstream source(box.StateDir() / "udisk" / "system.img", std::ios::binary);
        for (int i = 0; i < (3 << 20); ++i)
            source.put(static_cast<char>(i * 7 + i / 4096));
    }
    CopyFromStick(QStringLiteral("system.img"), QStringLiteral("uramdisk.img"));
    EXPECT_EQ(boxes.Texts(), QStringList{T(ft::CopyOk)}) << box.BoxLog();
    const QJsonObject record = CopyRecord();
    EXPECT_EQ(record.value(u"target").toString(), u"uramdisk.img");
    EXPECT_EQ(record.value(u"sourceMd5"), record.value(u"targetMd5"));
    EXPECT_TRUE(WaitFor([&] { return LogLines().filter(T(ft::CopyOk)).size() == 1; }))
        << LogLines().join(u'\n').toStdString();
    const QString shot = qEnvironmentVariable("KZ_SCREENSHOT");
    if (!shot.isEmpty()) {
        EXPECT_TRUE(frame->GetHWND()->grab().save(shot)) << shot.toStdString();
    }
}

// A busybox without md5sum and truncate, found so at detection: no sum is
// asked for, the copy stands on its sizes, and the log and the record say so.
class NoSumBox : public VerifiedCopyBox {
    std::string ConfigJson() const override { return R"({"speed": 0, "missingApplets": ["md5sum", "truncate"]})"; }
};

TEST_F(NoSumBox, ACopyIsCheckedBySizeOnlyAndRecordedSo)
{
    std::ofstream(box.StateDir() / "udisk" / "kernel.bin", std::ios::binary) << std::string(200000, 'k');
    CopyFromStick(QStringLiteral("kernel.bin"), QStringLiteral("uImage"));
    EXPECT_EQ(boxes.Texts(), QStringList{T(ft::CopyOk)}) << box.BoxLog();
    const QJsonObject record = CopyRecord();
    EXPECT_TRUE(record.value(u"verify").toString() == u"size" && !record.contains(u"sourceMd5"));
    EXPECT_TRUE(WaitFor([&] { return LogLines().filter(T(ft::CheckedBySizeOnly)).size() == 1; }));
    const QByteArray commands = ReadAll(box.StateDir() / "shell-commands.log");
    EXPECT_TRUE(commands.contains("/mnt/sdcard/busybox\n") && !commands.contains("md5sum")) << commands.data();
}
