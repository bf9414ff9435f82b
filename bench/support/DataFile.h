#pragma once
// A benchmark's source file: data in every block, so that nothing travels or
// is summed as a hole for free.

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <vector>

namespace bench {

inline bool WriteDataFile(const std::filesystem::path& path, std::size_t mib, unsigned seed)
{
    std::ofstream out(path, std::ios::binary);
    std::vector<char> block(1 << 20);
    unsigned state = seed;
    for (std::size_t i = 0; i < mib && out; ++i) {
        for (char& b : block) {
            state = state * 1103515245u + 12345u;
            b = static_cast<char>(state >> 16);
        }
        out.write(block.data(), static_cast<std::streamsize>(block.size()));
    }
    return static_cast<bool>(out);
}

}  // namespace bench
