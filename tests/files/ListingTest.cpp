// The box's "ls -l" text as file entries, and the client errors around it.
#include <gtest/gtest.h>

#include "link/Texts.h"
#include "files/core/Listing.h"

using namespace kz::files;

namespace {
QString Line(const char* text) { return QString::fromUtf8(text) + QStringLiteral("\r\r\n"); }

const char* const kFile = "-rw-rw-r-- root     root         1234 2024-05-01 09:30 boot.img";
const char* const kSpaced = "-rw-rw-r-- root     root      5242880 2024-05-02 10:15 my  boot image.bin";
const char* const kDir = "drwxrwxr-x root     root              2024-05-03 11:00 backups";
const char* const kLink = "lrwxrwxrwx root     root              2024-05-04 12:00 latest -> boot.img";
}  // namespace

TEST(Listing, FilesInLineOrderDirectoriesLeftOutLinksKept)
{
    const QList<FileEntry> entries = ParseListing(Line(kFile) + Line(kDir) + Line(kSpaced) + Line(kLink));
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries[0].name, "boot.img");
    EXPECT_EQ(entries[0].date, "2024-05-01 09:30");
    EXPECT_EQ(entries[0].size.trimmed(), "1.21 KB");
    EXPECT_EQ(entries[1].name, "my  boot image.bin");
    EXPECT_EQ(entries[1].date, "2024-05-02 10:15");
    EXPECT_EQ(entries[1].size.trimmed(), "5.00 MB");
    // A link line has no size field; it is still an entry of its own.
    EXPECT_TRUE(entries[2].name.contains(QStringLiteral("boot.img")));
}

// A rename must not land on a folder, so their names are kept apart.
TEST(Listing, FolderNamesWithBlanks)
{
    const QString folder = QStringLiteral("drwxrwxr-x root     root              2024-05-03 11:00 old  backups");
    const QString text = Line(kFile) + Line(kDir) + folder + QStringLiteral("\r\r\n") + Line(kLink);
    EXPECT_EQ(ListedFolders(text), (QStringList{QStringLiteral("backups"), QStringLiteral("old  backups")}));
    // The one-pass form the file manager uses reads the same.
    const Listing both = ParseListingAndFolders(text);
    EXPECT_EQ(both.folders, ListedFolders(text));
    ASSERT_EQ(both.entries.size(), ParseListing(text).size());
    EXPECT_EQ(both.entries.last().name, ParseListing(text).last().name);
}

// ls puts one blank before the name; a name that begins with blanks keeps them.
TEST(Listing, LeadingBlanksBelongToTheName)
{
    const QString text = Line("-rw-rw-r-- root     root         1234 2024-05-01 09:30  leading blank.bin") +
                         Line("drwxrwxr-x root     root              2024-05-03 11:00   two");
    ASSERT_EQ(ParseListing(text).size(), 1);
    EXPECT_EQ(ParseListing(text).first().name, " leading blank.bin");
    EXPECT_EQ(ListedFolders(text), QStringList{QStringLiteral("  two")});
}

TEST(Listing, UnterminatedLastLineAndEmptyLinesEndTheListing)
{
    EXPECT_EQ(ParseListing(Line(kFile) + QString::fromUtf8(kSpaced)).size(), 1);
    EXPECT_TRUE(ParseListing(QString::fromUtf8(kFile)).isEmpty());
    EXPECT_TRUE(ParseListing(QStringLiteral("\r\r\n") + Line(kFile)).isEmpty());
    EXPECT_EQ(ParseListing(Line(kFile) + QStringLiteral("\r\r\n") + Line(kSpaced)).size(), 1);
    EXPECT_TRUE(ParseListing(QString()).isEmpty());
}

TEST(Listing, LinesThatAreNotListingLinesGiveNoEntry)
{
    const QString serverStart = QStringLiteral("* daemon not running. starting it now on port 5037 *\r\n"
                                               "* daemon started successfully *\r\n");
    EXPECT_EQ(ParseListing(serverStart + Line(kFile)).size(), 1);
    EXPECT_TRUE(ParseListing(Line("/mnt/udisk: No such file or directory")).isEmpty());
    EXPECT_TRUE(ParseListing(Line("total 12")).isEmpty());
}

TEST(Listing, ShortLineLeavesMissingFieldsEmpty)
{
    const FileEntry e = ParseListingLine(QStringLiteral("-rw-r--r-- root root 77"));
    EXPECT_TRUE(e.name.isEmpty());
    EXPECT_TRUE(e.date.isEmpty());
    EXPECT_EQ(e.size.trimmed(), "77.00 B");
    const FileEntry cut = ParseListingLine(QStringLiteral("-rw-r--r-- root root 77 2024-05"));
    EXPECT_EQ(cut.date, "2024-05");
}

TEST(ListingSize, UnitBoundariesRightAlignedInTwentyColumns)
{
    EXPECT_EQ(FormatSize(u"1023"), QStringLiteral("%1 B").arg(QStringLiteral("1023.00"), 20));
    EXPECT_EQ(FormatSize(u"1024"), QStringLiteral("%1 KB").arg(QStringLiteral("1.00"), 20));
    EXPECT_EQ(FormatSize(u"1048575").trimmed(), "1024.00 KB");
    EXPECT_EQ(FormatSize(u"1048576"), QStringLiteral("%1 MB").arg(QStringLiteral("1.00"), 20));
    EXPECT_EQ(FormatSize(u"1073741824"), QStringLiteral("%1 GB").arg(QStringLiteral("1.00"), 20));
    EXPECT_EQ(FormatSize(u"0").trimmed(), "0.00 B");
    EXPECT_EQ(FormatSize(u"").trimmed(), "0.00 B");
    EXPECT_EQ(FormatSize(u"abc").trimmed(), "0.00 B");
}

// The size text is built without printf; it must read exactly as Qt's
// "%20.2f %s" did, ties included (1152 B = 1.125 KB).
TEST(ListingSize, ReadsAsPrintfDid)
{
    const quint64 values[] = {0, 1, 999, 1023, 1024, 1029, 1152, 1153, 1664, 10239, 1048575, 1048576, 1059061,
                              1073741823, 1073741824, 1084479242, 4294967295u, 9007199254740993ull,
                              99999999999999999ull, UINT64_MAX};
    const struct {
        double limit, unit;
        const char* name;
    } units[] = {{1024.0, 1.0, "B"}, {1048576.0, 1024.0, "KB"}, {1073741824.0, 1048576.0, "MB"},
                 {0.0, 1073741824.0, "GB"}};
    for (quint64 v : values) {
        const double x = double(v);
        QString expected;
        for (const auto& u : units) {
            if (u.limit == 0.0 || x < u.limit) {
                expected = QString::asprintf("%20.2f %s", x / u.unit, u.name);
                break;
            }
        }
        EXPECT_EQ(FormatSize(QString::number(v)), expected) << v;
    }
}

TEST(ListingSize, NegativeSizesAreTakenModulo32Bits)
{
    EXPECT_EQ(FormatSize(u"-1").trimmed(), "4.00 GB");
    EXPECT_EQ(FormatSize(u"-1073741824").trimmed(), "3.00 GB");
    EXPECT_EQ(SizeFieldValue(u"-1"), 4294967295u);
    EXPECT_EQ(SizeFieldValue(u"-2147483648"), 2147483648u);
    EXPECT_EQ(SizeFieldValue(u"12K"), 12u);
    EXPECT_EQ(SizeFieldValue(u"99999999999999999999999"), UINT64_MAX);
}

TEST(ListingErrors, ClientErrorsInTheirOrder)
{
    EXPECT_STREQ(ListingErrorKey(QStringLiteral("error: device not found\r\n")), kz::text::NoDeviceFound);
    EXPECT_STREQ(ListingErrorKey(QStringLiteral("error: device offline\r\n")), kz::text::DeviceTurnedOff);
    EXPECT_STREQ(ListingErrorKey(QStringLiteral("error: more than one device and emulator\r\n")),
                 kz::text::MultipleDevices);
    // "not found" is tested first, whatever else the output says.
    EXPECT_STREQ(ListingErrorKey(QStringLiteral("error: device offline\r\n/system/bin/sh: ls: not found\r\n")),
                 kz::text::NoDeviceFound);
    EXPECT_EQ(ListingErrorKey(Line(kFile)), nullptr);
    EXPECT_EQ(ListingErrorKey(QString()), nullptr);
}

TEST(ListingErrors, FileNamesAreNotTakenForClientErrors)
{
    const QString listing = Line("-rw-rw-r-- root     root           10 2024-05-01 09:30 page not found.html") +
                            Line("-rw-rw-r-- root     root           10 2024-05-01 09:31 error: device offline");
    EXPECT_EQ(ListingErrorKey(listing), nullptr);
    EXPECT_EQ(ParseListing(listing).size(), 2);
}

TEST(ListingErrors, OtherLinesAreTheBoxsOwnWords)
{
    const QString words = QStringLiteral("* daemon started successfully *\r\n") + Line(kFile) +
                          QStringLiteral("/mnt/udisk: Input/output error\r\r\n\r\n");
    EXPECT_EQ(ListingOtherLines(words), QStringLiteral("/mnt/udisk: Input/output error\r\r\n"));
    EXPECT_EQ(ListingOtherLines(Line(kFile) + QStringLiteral("\r\n")), QString());
}
