#include "Md5.h"

#include <algorithm>
#include <cstring>

namespace box::dev {

namespace {

constexpr uint32_t kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

constexpr int kShift[16] = {7, 12, 17, 22, 5, 9, 14, 20, 4, 11, 16, 23, 6, 10, 15, 21};

uint32_t Rotate(uint32_t x, int n)
{
    return (x << n) | (x >> (32 - n));
}

}  // namespace

void Md5::Block(const unsigned char* block)
{
    uint32_t m[16];
    for (int i = 0; i < 16; ++i)
        m[i] = uint32_t(block[4 * i]) | uint32_t(block[4 * i + 1]) << 8 | uint32_t(block[4 * i + 2]) << 16 |
               uint32_t(block[4 * i + 3]) << 24;
    uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];
    for (int i = 0; i < 64; ++i) {
        const int round = i / 16;
        uint32_t f;
        int g;
        if (round == 0) {
            f = (b & c) | (~b & d);
            g = i;
        } else if (round == 1) {
            f = (d & b) | (~d & c);
            g = (5 * i + 1) % 16;
        } else if (round == 2) {
            f = b ^ c ^ d;
            g = (3 * i + 5) % 16;
        } else {
            f = c ^ (b | ~d);
            g = (7 * i) % 16;
        }
        const uint32_t next = b + Rotate(a + f + kSine[i] + m[g], kShift[round * 4 + i % 4]);
        a = d;
        d = c;
        c = b;
        b = next;
    }
    state_[0] += a;
    state_[1] += b;
    state_[2] += c;
    state_[3] += d;
}

void Md5::Update(std::string_view bytes)
{
    totalBytes_ += bytes.size();
    auto data = reinterpret_cast<const unsigned char*>(bytes.data());
    size_t size = bytes.size();
    if (pendingSize_ > 0) {
        const size_t take = std::min(size, pending_.size() - pendingSize_);
        std::memcpy(pending_.data() + pendingSize_, data, take);
        pendingSize_ += take;
        data += take;
        size -= take;
        if (pendingSize_ < pending_.size())
            return;
        Block(pending_.data());
        pendingSize_ = 0;
    }
    for (; size >= 64; data += 64, size -= 64)
        Block(data);
    std::memcpy(pending_.data(), data, size);
    pendingSize_ = size;
}

std::string Md5::HexDigest()
{
    const uint64_t bits = totalBytes_ * 8;
    const size_t padding = (pendingSize_ < 56 ? 56 : 120) - pendingSize_;
    std::string tail(padding + 8, '\0');
    tail[0] = char(0x80);
    for (int i = 0; i < 8; ++i)
        tail[padding + size_t(i)] = char((bits >> (8 * i)) & 0xff);
    Update(tail);
    static const char kHex[] = "0123456789abcdef";
    std::string hex;
    for (uint32_t word : state_) {
        for (int i = 0; i < 4; ++i) {
            const unsigned byte = (word >> (8 * i)) & 0xff;
            hex += kHex[byte >> 4];
            hex += kHex[byte & 15];
        }
    }
    return hex;
}

}  // namespace box::dev
