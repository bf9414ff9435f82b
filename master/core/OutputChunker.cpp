#include "master/core/OutputChunker.h"

#include <algorithm>

namespace kz::master {

OutputChunker::OutputChunker(int maxBytes) : m_maxBytes(std::max(1, maxBytes)) {}

QStringList OutputChunker::Feed(QByteArrayView bytes)
{
    QStringList pieces;
    for (qsizetype at = 0; at < bytes.size(); at += m_maxBytes)
        pieces << DecodePiece(bytes.sliced(at, std::min<qsizetype>(m_maxBytes, bytes.size() - at)));
    return pieces;
}

QString OutputChunker::DecodePiece(QByteArrayView piece)
{
    const qsizetype zero = piece.indexOf('\0');
    QString text;
    if (zero < 0) {
        m_utf8.FeedInto(piece, text);
    } else {
        // A character cut short by the zero cannot be completed later.
        m_utf8.FeedInto(piece.first(zero), text);
        m_utf8.FinishInto(text);
    }
    return text;
}

QString OutputChunker::Finish()
{
    return m_utf8.Finish();
}

}  // namespace kz::master
