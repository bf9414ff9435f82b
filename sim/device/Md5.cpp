#include "Md5.h"

#include <algorithm>
#include <cstring>

namespace box::dev {

namespace {

uint32_t Rotate(uint32_t x, int n)
{
    return (x << n) | (x >> (32 - n));
}

uint32_t F(uint32_t b, uint32_t c, uint32_t d) { return d ^ (b & (c ^ d)); }
uint32_t G(uint32_t b, uint32_t c, uint32_t d) { return c ^ (d & (b ^ c)); }
uint32_t H(uint32_t b, uint32_t c, uint32_t d) { return b ^ c ^ d; }
uint32_t I(uint32_t b, uint32_t c, uint32_t d) { return c ^ (b | ~d); }

// One of the 64 steps, written out so that the compiler sees constant
// word indices, shifts and sines: a looped form with a switch per step sums
// several times slower, and the box's md5sum of a multi-GiB file waited on it.
template <uint32_t (*Mix)(uint32_t, uint32_t, uint32_t)>
void Step(uint32_t& a, uint32_t b, uint32_t c, uint32_t d, uint32_t word, uint32_t sine, int shift)
{
    a = b + Rotate(a + Mix(b, c, d) + word + sine, shift);
}

}  // namespace

void Md5::Block(const unsigned char* block)
{
    uint32_t m[16];
    for (int i = 0; i < 16; ++i)
        m[i] = uint32_t(block[4 * i]) | uint32_t(block[4 * i + 1]) << 8 | uint32_t(block[4 * i + 2]) << 16 |
               uint32_t(block[4 * i + 3]) << 24;
    uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];

    Step<F>(a, b, c, d, m[0], 0xd76aa478, 7);
    Step<F>(d, a, b, c, m[1], 0xe8c7b756, 12);
    Step<F>(c, d, a, b, m[2], 0x242070db, 17);
    Step<F>(b, c, d, a, m[3], 0xc1bdceee, 22);
    Step<F>(a, b, c, d, m[4], 0xf57c0faf, 7);
    Step<F>(d, a, b, c, m[5], 0x4787c62a, 12);
    Step<F>(c, d, a, b, m[6], 0xa8304613, 17);
    Step<F>(b, c, d, a, m[7], 0xfd469501, 22);
    Step<F>(a, b, c, d, m[8], 0x698098d8, 7);
    Step<F>(d, a, b, c, m[9], 0x8b44f7af, 12);
    Step<F>(c, d, a, b, m[10], 0xffff5bb1, 17);
    Step<F>(b, c, d, a, m[11], 0x895cd7be, 22);
    Step<F>(a, b, c, d, m[12], 0x6b901122, 7);
    Step<F>(d, a, b, c, m[13], 0xfd987193, 12);
    Step<F>(c, d, a, b, m[14], 0xa679438e, 17);
    Step<F>(b, c, d, a, m[15], 0x49b40821, 22);

    Step<G>(a, b, c, d, m[1], 0xf61e2562, 5);
    Step<G>(d, a, b, c, m[6], 0xc040b340, 9);
    Step<G>(c, d, a, b, m[11], 0x265e5a51, 14);
    Step<G>(b, c, d, a, m[0], 0xe9b6c7aa, 20);
    Step<G>(a, b, c, d, m[5], 0xd62f105d, 5);
    Step<G>(d, a, b, c, m[10], 0x02441453, 9);
    Step<G>(c, d, a, b, m[15], 0xd8a1e681, 14);
    Step<G>(b, c, d, a, m[4], 0xe7d3fbc8, 20);
    Step<G>(a, b, c, d, m[9], 0x21e1cde6, 5);
    Step<G>(d, a, b, c, m[14], 0xc33707d6, 9);
    Step<G>(c, d, a, b, m[3], 0xf4d50d87, 14);
    Step<G>(b, c, d, a, m[8], 0x455a14ed, 20);
    Step<G>(a, b, c, d, m[13], 0xa9e3e905, 5);
    Step<G>(d, a, b, c, m[2], 0xfcefa3f8, 9);
    Step<G>(c, d, a, b, m[7], 0x676f02d9, 14);
    Step<G>(b, c, d, a, m[12], 0x8d2a4c8a, 20);

    Step<H>(a, b, c, d, m[5], 0xfffa3942, 4);
    Step<H>(d, a, b, c, m[8], 0x8771f681, 11);
    Step<H>(c, d, a, b, m[11], 0x6d9d6122, 16);
    Step<H>(b, c, d, a, m[14], 0xfde5380c, 23);
    Step<H>(a, b, c, d, m[1], 0xa4beea44, 4);
    Step<H>(d, a, b, c, m[4], 0x4bdecfa9, 11);
    Step<H>(c, d, a, b, m[7], 0xf6bb4b60, 16);
    Step<H>(b, c, d, a, m[10], 0xbebfbc70, 23);
    Step<H>(a, b, c, d, m[13], 0x289b7ec6, 4);
    Step<H>(d, a, b, c, m[0], 0xeaa127fa, 11);
    Step<H>(c, d, a, b, m[3], 0xd4ef3085, 16);
    Step<H>(b, c, d, a, m[6], 0x04881d05, 23);
    Step<H>(a, b, c, d, m[9], 0xd9d4d039, 4);
    Step<H>(d, a, b, c, m[12], 0xe6db99e5, 11);
    Step<H>(c, d, a, b, m[15], 0x1fa27cf8, 16);
    Step<H>(b, c, d, a, m[2], 0xc4ac5665, 23);

    Step<I>(a, b, c, d, m[0], 0xf4292244, 6);
    Step<I>(d, a, b, c, m[7], 0x432aff97, 10);
    Step<I>(c, d, a, b, m[14], 0xab9423a7, 15);
    Step<I>(b, c, d, a, m[5], 0xfc93a039, 21);
    Step<I>(a, b, c, d, m[12], 0x655b59c3, 6);
    Step<I>(d, a, b, c, m[3], 0x8f0ccc92, 10);
    Step<I>(c, d, a, b, m[10], 0xffeff47d, 15);
    Step<I>(b, c, d, a, m[1], 0x85845dd1, 21);
    Step<I>(a, b, c, d, m[8], 0x6fa87e4f, 6);
    Step<I>(d, a, b, c, m[15], 0xfe2ce6e0, 10);
    Step<I>(c, d, a, b, m[6], 0xa3014314, 15);
    Step<I>(b, c, d, a, m[13], 0x4e0811a1, 21);
    Step<I>(a, b, c, d, m[4], 0xf7537e82, 6);
    Step<I>(d, a, b, c, m[11], 0xbd3af235, 10);
    Step<I>(c, d, a, b, m[2], 0x2ad7d2bb, 15);
    Step<I>(b, c, d, a, m[9], 0xeb86d391, 21);

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
