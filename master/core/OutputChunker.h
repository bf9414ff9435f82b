#pragma once
// Cuts the client's output into the pieces a dialog shows while the client
// runs.
//
// Each piece holds at most `maxBytes` bytes of one read: whatever the pipe
// held at that moment, so pieces do not follow line boundaries.  A piece is a
// zero-terminated string: a zero byte ends its text.  UTF-8 is decoded across
// pieces, so a character split between two pieces arrives whole in the
// second one instead of as two replacement characters.

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include "device/Utf8Decoder.h"

namespace kz::master {

class OutputChunker {
public:
    explicit OutputChunker(int maxBytes);

    // The texts of the pieces of one read, in order.  A piece whose bytes
    // all belong to a character completed later gives an empty text.
    QStringList Feed(QByteArrayView bytes);
    // The output has ended: the text of an incomplete last character
    // (U+FFFD), or the empty text.
    QString Finish();

private:
    QString DecodePiece(QByteArrayView piece);

    int m_maxBytes;
    Utf8ChunkDecoder m_utf8;
};

}  // namespace kz::master
