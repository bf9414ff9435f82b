// The "ls -l" lines: what the file manager's parser and the copy's size
// probe read out of them.

#include "DeviceFixture.h"
#include "ListingFormat.h"

#include <map>
#include <regex>
#include <sstream>

namespace boxtest {
namespace {

using box::dev::FormatListingLine;
using box::dev::ListingEntry;

// The copy's size probe: the last digit of the size stands 15 characters
// before the first colon (the one of the time).
std::string SizeBeforeTime(const std::string& line)
{
    const size_t colon = line.find(':');
    size_t end = colon - 15;
    size_t start = line.rfind(' ', end) + 1;
    return line.substr(start, end - start + 1);
}

TEST(ListingFormat, FileLineHasToolboxColumns)
{
    ListingEntry e;
    e.size = 1234;
    e.mtime = 1714555800;  // 2024-05-01 09:30 UTC
    e.name = "a b.img";
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    EXPECT_EQ(FormatListingLine(e), "-rw-rw-r-- root     root         1234 2024-05-01 09:30 a b.img");
}

TEST(ListingFormat, SizesFromTwoGibibytesPrintNegative)
{
    ListingEntry e;
    e.name = "x";
    const std::pair<uint64_t, std::string> cases[] = {
        {2147483647ull, "2147483647"}, {2147483648ull, "-2147483648"}, {3ull << 30, "-1073741824"},
        {(4ull << 30) - 1, "-1"}, {4ull << 30, "0"}, {123456789012ull, "-1097262572"}};
    for (const auto& [size, text] : cases) {
        e.size = size;
        EXPECT_EQ(SizeBeforeTime(FormatListingLine(e)), text) << size;
    }
}

TEST(ListingFormat, DirectoryLineStartsWithDAndHasNoSize)
{
    ListingEntry e;
    e.type = 'd';
    e.permissions = "rwxrwxr-x";
    e.name = "photos";
    const std::string line = FormatListingLine(e);
    EXPECT_EQ(line.substr(0, 10), "drwxrwxr-x");
    EXPECT_TRUE(std::regex_match(line, std::regex(R"(drwxrwxr-x root +root +\d{4}-\d\d-\d\d \d\d:\d\d photos)")));
}

TEST_F(DeviceTest, StickListingShowsSeededFilesWithProbeableSizes)
{
    const std::string text = Run("ls -l /mnt/udisk");
    EXPECT_EQ(text, "") << "the stick is not mounted yet";
    Run("mount -t vfat /dev/block/sda1 /mnt/udisk");
    std::istringstream lines(Run("ls -l /mnt/udisk"));
    std::map<std::string, std::string> sizes;
    const std::regex form(R"(-rw-rw-r-- root     root +(-?\d+) \d{4}-\d\d-\d\d \d\d:\d\d (.+))");
    for (std::string line; std::getline(lines, line);) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(line, m, form)) << line;
        EXPECT_EQ(SizeBeforeTime(line), m[1].str());
        sizes[m[2].str()] = m[1].str();
    }
    EXPECT_EQ(sizes["backup 2G5.bin"], "-1610612736");
    EXPECT_EQ(sizes["boot.img"], "1048576");
    EXPECT_EQ(sizes.count("MT29F16G.img.mtx"), 1u);
}

TEST_F(DeviceTest, ListingOfOneFileAndOfMissingPaths)
{
    WriteHostFile("state/sdcard/My File.bin", std::string(77, 'x'));
    const std::string one = Run("ls -l /mnt/sdcard/'My File.bin'");
    EXPECT_TRUE(std::regex_match(one, std::regex(R"(-rw-rw-r-- root +root +77 [-0-9]{10} \d\d:\d\d /mnt/sdcard/My File.bin\n)")))
        << one;
    const std::string missing = Run("ls -l /mnt/sdcard/'nope.bin'");
    EXPECT_EQ(missing, "/mnt/sdcard/nope.bin: No such file or directory\n");
    // The probe recognises a missing file by "No" two places after the colon.
    EXPECT_EQ(missing.substr(missing.find(':') + 2, 2), "No");
}

TEST_F(DeviceTest, DirectoriesAndDotFilesInListing)
{
    fs::create_directories(Host("state/sdcard/sub"));
    WriteHostFile("state/sdcard/.hidden", "h");
    const std::string text = Run("ls -l /mnt/sdcard");
    EXPECT_TRUE(Contains(text, "\ndrwxrwxr-x root     root              ")) << text;
    EXPECT_TRUE(Contains(text, " sub\n"));
    EXPECT_FALSE(Contains(text, ".hidden"));
    EXPECT_TRUE(Contains(Run("ls -la /mnt/sdcard"), ".hidden"));
    EXPECT_EQ(Run("ls /"), "data\ndev\nmnt\nsdcard\nsystem\n");
}

}  // namespace
}  // namespace boxtest
