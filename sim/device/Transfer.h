#pragma once
// Moving bytes between host files at the box's pace.  Holes in a source are
// skipped rather than read, so the multi-gigabyte sparse chip images cost
// nothing where they hold no data, and a fresh target stays sparse.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace box::dev {

// Spreads work over time: after Advance(n) the caller has used at least
// n / bytesPerSecond seconds in total.  bytesPerSecond 0 means no waiting.
class Pacer {
public:
    explicit Pacer(uint64_t bytesPerSecond);
    void Advance(uint64_t bytes);

private:
    uint64_t rate_;
    uint64_t done_ = 0;
    std::chrono::steady_clock::time_point start_;
};

// A pacer that spreads a known total over a fixed duration.
Pacer PacerForDuration(uint64_t totalBytes, int durationMs);

// Chunks of about a tenth of a second, so that progress shows while it runs.
uint64_t ChunkForSpeed(uint64_t bytesPerSecond);

struct CopyRequest {
    int srcFd = -1;
    uint64_t srcOffset = 0;
    int dstFd = -1;
    uint64_t dstOffset = 0;
    uint64_t length = 0;
    bool dstIsFresh = false;  // holes may stay holes instead of being written
    uint64_t chunk = 1 << 20;
    uint64_t failAfter = UINT64_MAX;  // simulated I/O failure after this many bytes
};

// Called after every chunk with the bytes done so far; returning false
// stops the copy (the host has gone).
using ProgressFn = std::function<bool(uint64_t done)>;

// Returns an empty text on success, else the reason ("Input/output error",
// "stopped", or the system's message).
std::string CopyRange(const CopyRequest& request, Pacer& pacer, const ProgressFn& progress);

// Flips every bit of the byte at `offset` (the "corrupt" scenario's bad cell).
bool FlipByteAt(const std::filesystem::path& file, uint64_t offset);

}  // namespace box::dev
