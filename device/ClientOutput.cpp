#include "device/ClientOutput.h"

#include <algorithm>
#include <cstring>

namespace kz {

ClientOutputDecoder::ClientOutputDecoder(std::size_t frameSize) : m_frameSize(std::max<std::size_t>(frameSize, 1)) {}

void ClientOutputDecoder::FeedInto(const char* data, std::size_t size, QString& out)
{
    while (size > 0) {
        const std::size_t take = std::min(size, m_frameSize - m_positionInFrame);
        FeedFrameInto(data, take, out);
        data += take;
        size -= take;
        m_positionInFrame += take;
        if (m_positionInFrame == m_frameSize) {
            m_positionInFrame = 0;
            m_frameCut = false;
        }
    }
}

// `data` lies within one frame.
void ClientOutputDecoder::FeedFrameInto(const char* data, std::size_t size, QString& out)
{
    if (m_frameCut)
        return;
    const auto* zero = static_cast<const char*>(std::memchr(data, 0, size));
    const std::size_t keep = zero != nullptr ? static_cast<std::size_t>(zero - data) : size;
    m_utf8.FeedInto(QByteArrayView(data, static_cast<qsizetype>(keep)), out);
    if (zero != nullptr) {
        m_utf8.FinishInto(out);
        m_frameCut = true;
    }
}

void ClientOutputDecoder::FinishInto(QString& out)
{
    m_utf8.FinishInto(out);
}

}  // namespace kz
