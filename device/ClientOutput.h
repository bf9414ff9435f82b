#pragma once
// The adb client's output bytes as text.
//
// The device link has always read the client's output in frames of a fixed
// size and taken each frame as a zero-terminated string: a zero byte ends the
// text of its frame, and the text resumes with the next frame.  Callers judge
// the text by substring tests, so that rule is kept, but it is applied to
// fixed positions in the byte stream (not to whatever a read happened to
// return), which makes the result independent of timing.  UTF-8 is decoded
// across frame boundaries; a zero byte also ends a character left incomplete
// before it (it becomes U+FFFD).

#include "device/Utf8Decoder.h"

#include <QString>

#include <cstddef>

namespace kz {

class ClientOutputDecoder {
public:
    explicit ClientOutputDecoder(std::size_t frameSize);

    // Appends the text of the next `size` bytes of output to `out`.
    void FeedInto(const char* data, std::size_t size, QString& out);

    // The output has ended: an incomplete last character becomes U+FFFD.
    void FinishInto(QString& out);

private:
    void FeedFrameInto(const char* data, std::size_t size, QString& out);

    std::size_t m_frameSize;
    std::size_t m_positionInFrame = 0;
    bool m_frameCut = false;
    Utf8ChunkDecoder m_utf8;
};

}  // namespace kz
