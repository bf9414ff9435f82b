#pragma once
// UTF-8 text from the adb client.
//
// Output arrives in pieces of whatever size the pipe hands over, so a
// character can be split between two pieces; Utf8ChunkDecoder keeps such an
// incomplete tail and decodes it with the next piece.  Malformed bytes never
// fail: each becomes U+FFFD.  A byte order mark is kept as U+FEFF, so the text
// is exactly what the client printed.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

namespace kz {

// Decodes a zero-terminated byte string: a zero byte ends the text, and an
// array without one is taken whole.
QString Utf8ToWide(const QByteArray& bytes);

class Utf8ChunkDecoder {
public:
    Utf8ChunkDecoder();

    // Appends the text of `bytes` to `out`, holding back an incomplete
    // sequence at their end.
    void FeedInto(QByteArrayView bytes, QString& out);
    QString Feed(QByteArrayView bytes);

    // Ends the stream: a held-back incomplete sequence becomes U+FFFD.
    void FinishInto(QString& out);
    QString Finish();

    bool HasPendingBytes() const { return !m_pending.isEmpty(); }

private:
    void DecodeInto(QByteArrayView bytes, QString& out);

    QStringDecoder m_decoder;
    QByteArray m_pending;
};

}  // namespace kz
