// korvald-box: adb transport packets from the host, read from a stream.
#include "sim/transport/Packet.h"
#include "tests/fuzz/FuzzTarget.h"

#include <unistd.h>

#include <cstring>

namespace {

// The stream the box reads, from a pipe holding the whole input.
class InputStream {
public:
    InputStream(const uint8_t* data, size_t size)
    {
        int fds[2];
        if (size > 60000 || pipe(fds) != 0)
            return;
        readFd_ = fds[0];
        const bool written = write(fds[1], data, size) == ssize_t(size);
        close(fds[1]);
        if (!written) {
            close(readFd_);
            readFd_ = -1;
        }
    }
    ~InputStream()
    {
        if (readFd_ >= 0)
            close(readFd_);
    }
    int Fd() const { return readFd_; }

private:
    int readFd_ = -1;
};

constexpr uint32_t kSmallLimit = 256;

void CheckHeader(const uint8_t* data, size_t size)
{
    if (size < box::kHeaderSize)
        return;
    unsigned char raw[box::kHeaderSize];
    std::memcpy(raw, data, sizeof raw);
    box::Header header;
    std::string error;
    const bool ok = box::DecodeHeader(raw, kSmallLimit, header, error);
    KZ_FUZZ_CHECK(ok == error.empty());
    if (ok)
        KZ_FUZZ_CHECK(header.length <= kSmallLimit);
}

}  // namespace

KZ_FUZZ_TARGET(Packet)
{
    CheckHeader(data, size);
    const InputStream stream(data, size);
    if (stream.Fd() < 0)
        return;
    box::Packet packet;
    std::string error;
    size_t consumed = 0;
    while (box::ReadPacket(stream.Fd(), kSmallLimit, packet, error)) {
        KZ_FUZZ_CHECK(packet.payload.size() <= kSmallLimit);
        // What the box would send for this packet reads back as the same packet.
        const std::string encoded = box::EncodePacket(packet);
        KZ_FUZZ_CHECK(encoded.size() == box::kHeaderSize + packet.payload.size());
        KZ_FUZZ_CHECK(std::memcmp(encoded.data(), data + consumed, 16) == 0);
        KZ_FUZZ_CHECK(encoded.compare(24, std::string::npos,
                                      reinterpret_cast<const char*>(data) + consumed + 24,
                                      packet.payload.size()) == 0);
        consumed += encoded.size();
        box::CommandName(packet.command);
    }
    KZ_FUZZ_CHECK(consumed <= size);
}
