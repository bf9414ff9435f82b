#include "tools/kz_daemon/OutputRewriter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using kz::adapter::OutputRewriter;

namespace {

std::string RewriteChunks(const std::vector<std::string>& chunks)
{
    OutputRewriter r;
    std::string out;
    for (const std::string& c : chunks)
        out += r.Feed(c);
    return out + r.Finish();
}

// Every way of cutting the text in two must give the same result as feeding
// it whole: adb's output reaches the adapter in arbitrary pipe reads.
void ExpectSameForEverySplit(const std::string& in, const std::string& expected)
{
    ASSERT_EQ(RewriteChunks({in}), expected);
    for (size_t cut = 1; cut < in.size(); ++cut)
        ASSERT_EQ(RewriteChunks({in.substr(0, cut), in.substr(cut)}), expected) << "cut at " << cut;
    std::vector<std::string> bytes;
    for (char c : in)
        bytes.emplace_back(1, c);
    ASSERT_EQ(RewriteChunks(bytes), expected) << "byte by byte";
}

}  // namespace

TEST(OutputRewriter, DeviceListGetsHeaderBlankAndCrLf)
{
    ExpectSameForEverySplit("List of devices attached\nemulator-5554\tdevice\n\n",
                            "List of devices attached \r\nemulator-5554\tdevice\r\n\r\n");
    ExpectSameForEverySplit("List of devices attached\n\n", "List of devices attached \r\n\r\n");
}

TEST(OutputRewriter, ServerStartLinesBeforeTheHeader)
{
    ExpectSameForEverySplit("* daemon not running; starting now at tcp:5037\n* daemon started successfully\n"
                            "List of devices attached\nemulator-5554\toffline\n\n",
                            "* daemon not running; starting now at tcp:5037\r\n* daemon started successfully\r\n"
                            "List of devices attached \r\nemulator-5554\toffline\r\n\r\n");
}

TEST(OutputRewriter, HeaderOnlyAsAWholeLine)
{
    // Text that merely contains the header words stays as it is.
    ExpectSameForEverySplit("x List of devices attached\n", "x List of devices attached\r\n");
    ExpectSameForEverySplit("List of devices attached:\n", "List of devices attached:\r\n");
    ExpectSameForEverySplit("List of devices\n", "List of devices\r\n");
    // Without its line feed at the end of the stream nothing is added.
    ExpectSameForEverySplit("List of devices attached", "List of devices attached");
}

TEST(OutputRewriter, ErrorWordingAnywhereInALine)
{
    ExpectSameForEverySplit("error: no devices/emulators found\n", "error: device not found\r\n");
    ExpectSameForEverySplit("adb: error: failed to get feature set: no devices/emulators found\n",
                            "adb: error: failed to get feature set: device not found\r\n");
    ExpectSameForEverySplit("error: more than one device/emulator\n", "error: more than one device and emulator\r\n");
    ExpectSameForEverySplit("no devices/emulators found no devices/emulators found",
                            "device not found device not found");
}

TEST(OutputRewriter, DeviceCrLfBecomesCrCrLf)
{
    ExpectSameForEverySplit("PASS\r\nFAIL\r\n", "PASS\r\r\nFAIL\r\r\n");
}

TEST(OutputRewriter, NearMissesAndGarbagePassUnchanged)
{
    ExpectSameForEverySplit("no devices/emulator found\nmore than one device\nnnnmmmLLL\n",
                            "no devices/emulator found\r\nmore than one device\r\nnnnmmmLLL\r\n");
    ExpectSameForEverySplit("nno devices/emulators found", "ndevice not found");
    ExpectSameForEverySplit("mmore than one device/emulator", "mmore than one device and emulator");
}

TEST(OutputRewriter, BinaryBytesPassThrough)
{
    static const char in[] = "\x00\xff\xfe\n\x01no devices/emulators found\x00";
    static const char expected[] = "\x00\xff\xfe\r\n\x01" "device not found\x00";
    ExpectSameForEverySplit(std::string(in, sizeof in - 1), std::string(expected, sizeof expected - 1));
}

TEST(OutputRewriter, HoldsBackOnlyAPossiblePatternStart)
{
    OutputRewriter r;
    EXPECT_EQ(r.Feed("Reading block 12 of 40, no"), "Reading block 12 of 40, ");
    EXPECT_TRUE(r.HoldsBack());
    EXPECT_EQ(r.Feed("thing wrong\n"), "nothing wrong\r\n");
    EXPECT_FALSE(r.HoldsBack());
    // A line without its end that cannot become a pattern is not held.
    EXPECT_EQ(r.Feed("progress 50%"), "progress 50%");
    EXPECT_FALSE(r.HoldsBack());
}

TEST(OutputRewriter, FinishReleasesTheTailAndFeedingGoesOn)
{
    OutputRewriter r;
    EXPECT_EQ(r.Feed("done\nList of dev"), "done\r\n");
    EXPECT_EQ(r.Finish(), "List of dev");
    EXPECT_FALSE(r.HoldsBack());
    // The released tail was mid-line: the rest is no header any more.
    EXPECT_EQ(r.Feed("ices attached\nList of devices attached\n"),
              "ices attached\r\nList of devices attached \r\n");
}

TEST(OutputRewriter, LargeOutputKeepsEveryByte)
{
    std::string in;
    std::string expected;
    for (int i = 0; i < 20000; ++i) {
        const std::string line = "block " + std::to_string(i) + " more than one device/emulator? no";
        in += line + "\n";
        expected += "block " + std::to_string(i) + " more than one device and emulator? no\r\n";
    }
    OutputRewriter r;
    std::string out;
    for (size_t pos = 0; pos < in.size(); pos += 4093)
        out += r.Feed(std::string_view(in).substr(pos, 4093));
    out += r.Finish();
    EXPECT_EQ(out, expected);
}
