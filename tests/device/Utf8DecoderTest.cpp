#include "device/ClientOutput.h"
#include "device/Utf8Decoder.h"

#include "QtPrinting.h"

#include <gtest/gtest.h>

namespace {

const QChar kReplacement(0xFFFD);

// Mixed widths: 1, 2, 3 and 4 bytes (a surrogate pair in UTF-16).
const QString kMixed = QStringLiteral(u"a\u00e9\u4e2d\U0001F600z");

QString FeedInPieces(const QByteArray& bytes, const std::vector<qsizetype>& cuts)
{
    kz::Utf8ChunkDecoder decoder;
    QString out;
    qsizetype from = 0;
    for (qsizetype cut : cuts) {
        decoder.FeedInto(QByteArrayView(bytes).sliced(from, cut - from), out);
        from = cut;
    }
    decoder.FeedInto(QByteArrayView(bytes).sliced(from), out);
    decoder.FinishInto(out);
    return out;
}

TEST(Utf8ToWide, StopsAtTheFirstZeroByte)
{
    EXPECT_EQ(kz::Utf8ToWide(QByteArray("ab\0cd", 5)), QStringLiteral("ab"));
    EXPECT_EQ(kz::Utf8ToWide(QByteArray("\0x", 2)), QString());
    EXPECT_EQ(kz::Utf8ToWide(kMixed.toUtf8()), kMixed);
    EXPECT_EQ(kz::Utf8ToWide(QByteArray()), QString());
}

TEST(Utf8ToWide, MalformedBytesBecomeReplacementCharacters)
{
    const QString text = kz::Utf8ToWide(QByteArray("a\xC0\x80z\xFFq\xE4\xB8", 8));
    EXPECT_TRUE(text.startsWith(u'a'));
    EXPECT_TRUE(text.contains(QStringLiteral("z")));
    EXPECT_TRUE(text.contains(u'q'));
    EXPECT_TRUE(text.endsWith(kReplacement));
    EXPECT_FALSE(text.contains(QChar(0)));
}

TEST(Utf8ToWide, KeepsAByteOrderMark)
{
    EXPECT_EQ(kz::Utf8ToWide(QByteArray("\xEF\xBB\xBFok")), QStringLiteral(u"\uFEFFok"));
}

TEST(Utf8ChunkDecoder, CharacterSplitAtAnyByteDecodesWhole)
{
    const QByteArray bytes = kMixed.toUtf8();
    for (qsizetype cut = 0; cut <= bytes.size(); ++cut)
        EXPECT_EQ(FeedInPieces(bytes, {cut}), kMixed) << "cut at " << cut;
    // A four-byte character arriving one byte at a time.
    EXPECT_EQ(FeedInPieces(bytes, {4, 5, 6, 7, 8, 9, 10, 11}), kMixed);
}

TEST(Utf8ChunkDecoder, IncompleteEndBecomesReplacementOnlyAtFinish)
{
    kz::Utf8ChunkDecoder decoder;
    EXPECT_EQ(decoder.Feed("ok\xE4\xB8"), QStringLiteral("ok"));
    EXPECT_TRUE(decoder.HasPendingBytes());
    const QString rest = decoder.Finish();
    EXPECT_FALSE(rest.isEmpty());
    EXPECT_EQ(rest.count(kReplacement), rest.size());
    EXPECT_FALSE(decoder.HasPendingBytes());
}

TEST(Utf8ChunkDecoder, BrokenSequenceDoesNotSwallowTheNextPiece)
{
    kz::Utf8ChunkDecoder decoder;
    QString out = decoder.Feed("x\xE4");
    out += decoder.Feed("AB");
    out += decoder.Finish();
    EXPECT_EQ(out, QString(u'x') + kReplacement + QStringLiteral("AB"));
}

QString DecodeOutput(std::size_t frame, const QByteArray& bytes, std::size_t piece)
{
    kz::ClientOutputDecoder decoder(frame);
    QString out;
    for (qsizetype at = 0; at < bytes.size(); at += static_cast<qsizetype>(piece)) {
        const auto n = std::min<qsizetype>(static_cast<qsizetype>(piece), bytes.size() - at);
        decoder.FeedInto(bytes.constData() + at, static_cast<std::size_t>(n), out);
    }
    decoder.FinishInto(out);
    return out;
}

TEST(ClientOutputDecoder, ZeroByteCutsTheRestOfItsFrameOnly)
{
    // Frames of 8 bytes: "abc\0defg" "hijk\0lmn" "op"
    const QByteArray bytes("abc\0defghijk\0lmnop", 19);
    for (std::size_t piece : {1, 3, 8, 19})
        EXPECT_EQ(DecodeOutput(8, bytes, piece), QStringLiteral("abchijkop")) << "pieces of " << piece;
}

TEST(ClientOutputDecoder, CharacterAcrossAFrameBoundaryIsKept)
{
    const QByteArray bytes = QStringLiteral(u"abc\u4e2d").toUtf8();  // 3 + 3 bytes, frame of 4
    EXPECT_EQ(DecodeOutput(4, bytes, 1), QStringLiteral(u"abc\u4e2d"));
    EXPECT_EQ(DecodeOutput(4, bytes, 6), QStringLiteral(u"abc\u4e2d"));
}

TEST(ClientOutputDecoder, ZeroAfterAnIncompleteCharacterEndsIt)
{
    const QByteArray bytes("a\xE4\xB8\0zz" "bc", 8);  // one frame of 6, then "bc"
    const QString text = DecodeOutput(6, bytes, 8);
    ASSERT_GE(text.size(), 4);
    EXPECT_TRUE(text.startsWith(u'a'));
    EXPECT_TRUE(text.endsWith(QStringLiteral("bc")));
    const QString middle = text.mid(1, text.size() - 3);
    EXPECT_EQ(middle.count(kReplacement), middle.size());
}

}  // namespace
