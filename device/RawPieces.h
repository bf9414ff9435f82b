#pragma once
// A client's bytes as they came, kept in pieces that are never moved or
// copied while the client runs, to be decoded once it has ended.

#include <algorithm>
#include <cstddef>
#include <vector>

#include "platform/HugePages.h"

namespace kz {

class RawPieces {
public:
    void Append(const char* data, std::size_t size)
    {
        m_size += size;
        if (m_pieces.empty() || m_pieces.back().capacity() - m_pieces.back().size() < size) {
            // Small answers stay small; megabytes go into pieces large
            // enough for huge pages.
            constexpr std::size_t kFirst = 64 * 1024, kLargest = 16 * 1024 * 1024;
            const std::size_t grown = std::min(kFirst << std::min<std::size_t>(2 * m_pieces.size(), 8), kLargest);
            std::vector<char>& piece = m_pieces.emplace_back();
            piece.reserve(std::max(grown, size));
            AdviseHugePages(piece.data(), piece.capacity());
        }
        m_pieces.back().insert(m_pieces.back().end(), data, data + size);
    }
    std::size_t Size() const { return m_size; }
    template <typename Consume>
    void ForEach(const Consume& consume) const
    {
        for (const std::vector<char>& piece : m_pieces)
            consume(piece.data(), piece.size());
    }

private:
    std::vector<std::vector<char>> m_pieces;
    std::size_t m_size = 0;
};

}  // namespace kz
