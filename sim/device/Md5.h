#pragma once
// MD5 (RFC 1321), fed in pieces, so that multi-GiB files are summed while
// they stream by instead of being read whole.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace box::dev {

class Md5 {
public:
    void Update(std::string_view bytes);
    // The sum in lowercase hex, as md5sum prints it; ends the object's use.
    std::string HexDigest();

private:
    void Block(const unsigned char* block);

    std::array<uint32_t, 4> state_{0x67452301u, 0xefcdab89u, 0x98badcfeu, 0x10325476u};
    std::array<unsigned char, 64> pending_{};
    size_t pendingSize_ = 0;
    uint64_t totalBytes_ = 0;
};

}  // namespace box::dev
