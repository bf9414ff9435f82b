#include "device/Utf8Decoder.h"

#include <algorithm>

namespace kz {

namespace {

constexpr auto kDecoderFlags = QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom;

// Length of the sequence a lead byte starts; 1 for bytes that cannot start one.
int SequenceLength(unsigned char lead)
{
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 1;
}

// How many bytes at the end of `bytes` start a sequence that is not complete.
qsizetype IncompleteTailLength(QByteArrayView bytes)
{
    const qsizetype n = bytes.size();
    for (qsizetype k = 1; k <= 3 && k <= n; ++k) {
        const auto b = static_cast<unsigned char>(bytes[n - k]);
        if ((b & 0xC0) == 0x80)
            continue;
        return SequenceLength(b) > k ? k : 0;
    }
    return 0;
}

}  // namespace

QString Utf8ToWide(const QByteArray& bytes)
{
    const qsizetype length = qstrnlen(bytes.constData(), bytes.size());
    QStringDecoder decoder(QStringDecoder::Utf8, kDecoderFlags);
    return decoder.decode(QByteArrayView(bytes.constData(), length));
}

Utf8ChunkDecoder::Utf8ChunkDecoder() : m_decoder(QStringDecoder::Utf8, kDecoderFlags) {}

void Utf8ChunkDecoder::DecodeInto(QByteArrayView bytes, QString& out)
{
    if (bytes.isEmpty())
        return;
    const qsizetype start = out.size();
    const qsizetype needed = start + m_decoder.requiredSpace(bytes.size());
    if (out.capacity() < needed)
        out.reserve(std::max(needed, 2 * out.capacity()));  // amortised growth for long outputs
    out.resize(needed);
    QChar* end = m_decoder.appendToBuffer(out.data() + start, bytes);
    out.resize(end - out.constData());
}

void Utf8ChunkDecoder::FeedInto(QByteArrayView bytes, QString& out)
{
    if (!m_pending.isEmpty()) {
        // Rare (a character split between reads): join and start over.
        QByteArray joined = m_pending + QByteArray(bytes.data(), bytes.size());
        m_pending.clear();
        FeedInto(joined, out);
        return;
    }
    const qsizetype tail = IncompleteTailLength(bytes);
    DecodeInto(bytes.first(bytes.size() - tail), out);
    m_pending = QByteArray(bytes.data() + bytes.size() - tail, tail);
}

QString Utf8ChunkDecoder::Feed(QByteArrayView bytes)
{
    QString out;
    FeedInto(bytes, out);
    return out;
}

void Utf8ChunkDecoder::FinishInto(QString& out)
{
    DecodeInto(m_pending, out);
    m_pending.clear();
}

QString Utf8ChunkDecoder::Finish()
{
    QString out;
    FinishInto(out);
    return out;
}

}  // namespace kz
