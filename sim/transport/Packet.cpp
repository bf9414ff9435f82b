#include "Packet.h"

#include "Socket.h"

#include <cstring>

namespace box {

uint32_t ReadLe32(const char* bytes)
{
    const auto* b = reinterpret_cast<const unsigned char*>(bytes);
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

void AppendLe32(std::string& out, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>((value >> shift) & 0xff));
}

std::string EncodePacket(const Packet& packet)
{
    uint32_t sum = 0;
    for (unsigned char c : packet.payload)
        sum += c;
    std::string out;
    out.reserve(kHeaderSize + packet.payload.size());
    AppendLe32(out, packet.command);
    AppendLe32(out, packet.arg0);
    AppendLe32(out, packet.arg1);
    AppendLe32(out, static_cast<uint32_t>(packet.payload.size()));
    AppendLe32(out, sum);
    AppendLe32(out, packet.command ^ 0xffffffffu);
    out += packet.payload;
    return out;
}

bool DecodeHeader(const unsigned char (&raw)[kHeaderSize], uint32_t maxPayload, Header& header,
                  std::string& error)
{
    const char* bytes = reinterpret_cast<const char*>(raw);
    header.command = ReadLe32(bytes);
    header.arg0 = ReadLe32(bytes + 4);
    header.arg1 = ReadLe32(bytes + 8);
    header.length = ReadLe32(bytes + 12);
    uint32_t magic = ReadLe32(bytes + 20);
    if (magic != (header.command ^ 0xffffffffu)) {
        error = "bad packet magic";
        return false;
    }
    if (header.length > maxPayload) {
        error = "packet payload of " + std::to_string(header.length) + " bytes exceeds "
                + std::to_string(maxPayload);
        return false;
    }
    return true;
}

bool ReadPacket(int fd, uint32_t maxPayload, Packet& packet, std::string& error)
{
    error.clear();
    unsigned char raw[kHeaderSize];
    if (!ReadExact(fd, raw, sizeof raw))
        return false;
    Header header;
    if (!DecodeHeader(raw, maxPayload, header, error))
        return false;
    packet.command = header.command;
    packet.arg0 = header.arg0;
    packet.arg1 = header.arg1;
    packet.payload.resize(header.length);
    if (header.length > 0 && !ReadExact(fd, packet.payload.data(), header.length)) {
        error = "connection closed inside a packet";
        return false;
    }
    return true;
}

std::string CommandName(uint32_t command)
{
    std::string name(4, '?');
    for (int i = 0; i < 4; ++i) {
        char c = static_cast<char>((command >> (8 * i)) & 0xff);
        name[i] = (c >= 0x20 && c < 0x7f) ? c : '?';
    }
    return name;
}

}  // namespace box
