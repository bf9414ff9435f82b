// Output pieces, the MTX verdict, row texts and the loading frames.
#include <QStringList>
#include <gtest/gtest.h>

#include "master/core/LoadingFrames.h"
#include "master/core/MtxVerdict.h"
#include "master/core/OutputChunker.h"
#include "master/core/ReadUserRow.h"

using namespace kz::master;

namespace {
QList<int> Sizes(const QStringList& pieces)
{
    QList<int> sizes;
    for (const QString& piece : pieces)
        sizes << piece.size();
    return sizes;
}
}  // namespace

TEST(OutputChunker, OneReadIsCutIntoPiecesOfAtMostTheChunkSize)
{
    OutputChunker readUser(127);
    EXPECT_EQ(Sizes(readUser.Feed(QByteArray(300, 'a'))), (QList<int>{127, 127, 46}));
    OutputChunker mtx(51);
    EXPECT_EQ(Sizes(mtx.Feed(QByteArray(120, 'b'))), (QList<int>{51, 51, 18}));
    // Pieces follow the reads, not a fixed grid: a short read is a short piece.
    EXPECT_EQ(Sizes(mtx.Feed(QByteArray(10, 'c'))), QList<int>{10});
    EXPECT_TRUE(mtx.Feed(QByteArray()).isEmpty());
}

TEST(OutputChunker, ACharacterSplitBetweenPiecesArrivesWhole)
{
    OutputChunker chunker(4);
    // "abc" + the first byte of "é" | the second byte + "d"
    const QStringList pieces = chunker.Feed(QByteArray("abc\xC3\xA9" "d"));
    EXPECT_EQ(pieces, (QStringList{"abc", QString::fromUtf8("\xC3\xA9" "d")}));
    // Also across reads.
    EXPECT_EQ(chunker.Feed(QByteArray("\xE4\xB8")), QStringList{QString()});
    EXPECT_EQ(chunker.Feed(QByteArray("\xAD")), QStringList{QString::fromUtf8("中")});
    EXPECT_EQ(chunker.Finish(), QString());
}

TEST(OutputChunker, AZeroByteEndsTheTextOfItsPieceOnly)
{
    OutputChunker chunker(4);
    EXPECT_EQ(chunker.Feed(QByteArray("ab\0cdefg", 8)), (QStringList{"ab", "defg"}));
    // A character cut short by the zero is not completed by the next piece.
    EXPECT_EQ(chunker.Feed(QByteArray("\xC3\0xy\xA9z", 6)), (QStringList{QString(QChar(0xFFFD)), QString(QChar(0xFFFD)) + "z"}));
}

TEST(OutputChunker, MalformedBytesAndAnUnfinishedEndBecomeReplacementCharacters)
{
    OutputChunker chunker(127);
    EXPECT_EQ(chunker.Feed(QByteArray("a\xFF" "b")), QStringList{QString("a") + QChar(0xFFFD) + "b"});
    EXPECT_EQ(chunker.Feed(QByteArray("ok\xE4")), QStringList{"ok"});
    EXPECT_EQ(chunker.Finish(), QString(QChar(0xFFFD)));
}

TEST(MtxVerdict, RulesApplyInOrder)
{
    struct Case {
        const char* output;
        bool pass;
        bool noMtxFile;
    } const cases[] = {
        {"decompress 50%\r\r\ndecompress 100%\r\r\nMaster OK\r\r\n", true, false},
        {"Master OK\r\r\nwrite failed\r\r\n", false, false},
        {"no error found\r\nMaster OK\r\n", false, false},  // "error" anywhere fails
        {"can't open /mnt/udisk/ MTX file\r\r\n", false, true},
        {"can't open /mnt/udisk/ MTX file\r\nerror: no stick\r\n", false, false},
        {"can't open /mnt/udisk/ MTX file\r\nMaster OK\r\n", false, true},
        {"ERROR\r\nMaster OK\r\n", true, false},  // case-sensitive
        {"Master ok\r\n", false, false},
        {"", false, false},
    };
    for (const Case& c : cases) {
        const MtxVerdict verdict = JudgeMtxOutput(QString::fromUtf8(c.output));
        EXPECT_EQ(verdict.pass, c.pass) << c.output;
        EXPECT_EQ(verdict.noMtxFile, c.noMtxFile) << c.output;
    }
}

TEST(ReadUserRow, TheClientsDoubledCarriageReturnIsShownOnce)
{
    EXPECT_EQ(ReadUserRowText("READ_USER: 5%\r\r\nREAD_USER: 10%\r\r\n"), "READ_USER: 5%\r\nREAD_USER: 10%\r\n");
    EXPECT_EQ(ReadUserRowText("half line\r\r"), "half line\r\r");  // the rest of it is in the next row
    EXPECT_EQ(ReadUserRowText("plain\r\n"), "plain\r\n");
}

TEST(ReadUserRow, TheListDrawsARowWithoutItsFinalLineEnd)
{
    EXPECT_EQ(ReadUserRowDisplay("a\r\nb\r\n"), "a\nb");
    EXPECT_EQ(ReadUserRowDisplay("unix\n"), "unix");
    EXPECT_EQ(ReadUserRowDisplay("part of a line"), "part of a line");
    EXPECT_EQ(ReadUserRowDisplay("\r\n\r\n"), "\n");
    EXPECT_EQ(ReadUserRowDisplay("cut\r"), "cut\r");  // its line feed comes in the next row
}

TEST(LoadingFrames, SixteenFramesThenTheFirstAgain)
{
    QList<int> shown{1};
    for (int i = 0; i < 17; ++i)
        shown << NextLoadingFrame(shown.last());
    EXPECT_EQ(shown, (QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 1, 2}));
    EXPECT_EQ(LoadingFrameFile(16), "loading_16.png");
}
