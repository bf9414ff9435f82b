#pragma once
// adb transport packets: a 24-byte little-endian header and a payload.

#include <cstdint>
#include <string>
#include <string_view>

namespace box {

enum Command : uint32_t {
    kCnxn = 0x4e584e43,
    kAuth = 0x48545541,
    kOpen = 0x4e45504f,
    kOkay = 0x59414b4f,
    kClse = 0x45534c43,
    kWrte = 0x45545257,
};

constexpr uint32_t kProtocolVersion = 0x01000001;
constexpr uint32_t kMaxPayload = 1024 * 1024;
constexpr size_t kHeaderSize = 24;

struct Packet {
    uint32_t command = 0;
    uint32_t arg0 = 0;
    uint32_t arg1 = 0;
    std::string payload;
};

struct Header {
    uint32_t command = 0;
    uint32_t arg0 = 0;
    uint32_t arg1 = 0;
    uint32_t length = 0;
};

std::string EncodePacket(const Packet& packet);

// Checks magic and length against maxPayload; false with a reason otherwise.
bool DecodeHeader(const unsigned char (&raw)[kHeaderSize], uint32_t maxPayload, Header& header,
                  std::string& error);

// Reads one packet; false on end of stream or a malformed header (error says
// which; empty when the peer simply closed).
bool ReadPacket(int fd, uint32_t maxPayload, Packet& packet, std::string& error);

std::string CommandName(uint32_t command);

uint32_t ReadLe32(const char* bytes);
void AppendLe32(std::string& out, uint32_t value);

}  // namespace box
