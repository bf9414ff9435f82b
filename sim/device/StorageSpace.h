#pragma once
// Capacity and use of the box's storages.  The host folders behind them are
// unlimited, so the box keeps its own books: capacities come from the config
// and use is the sum of the file sizes, counted in 4 KiB blocks as vfat does
// (no sparse files there).

#include "BoxState.h"

#include <cstdint>
#include <optional>
#include <string>

namespace box::dev {

struct Space {
    std::string mountPoint;
    uint64_t total = 0;
    uint64_t used = 0;
    uint64_t Available() const { return used >= total ? 0 : total - used; }
};

constexpr uint64_t kBlockSize = 4096;

uint64_t BlocksFor(uint64_t bytes);

// The storage that holds a node; nullopt for the fixed directories.
std::optional<Space> SpaceOf(const BoxState& box, const Node& node);

}  // namespace box::dev
