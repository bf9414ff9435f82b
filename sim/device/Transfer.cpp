#include "Transfer.h"

#include "UniqueFd.h"

#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>
#include <unistd.h>
#include <vector>

namespace box::dev {
namespace {

// True when [offset, offset + length) of fd holds no data at all.
bool IsHole(int fd, uint64_t offset, uint64_t length)
{
    const off_t next = ::lseek(fd, static_cast<off_t>(offset), SEEK_DATA);
    if (next < 0)
        return errno == ENXIO;  // only a hole up to the end of the file
    return static_cast<uint64_t>(next) >= offset + length;
}

bool ReadFully(int fd, char* buf, size_t n, uint64_t offset)
{
    while (n > 0) {
        const ssize_t r = ::pread(fd, buf, n, static_cast<off_t>(offset));
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0)
            return false;
        if (r == 0) {  // past the end of the source: the rest reads as zeros
            std::memset(buf, 0, n);
            return true;
        }
        buf += r;
        n -= static_cast<size_t>(r);
        offset += static_cast<uint64_t>(r);
    }
    return true;
}

bool WriteFully(int fd, const char* buf, size_t n, uint64_t offset)
{
    while (n > 0) {
        const ssize_t w = ::pwrite(fd, buf, n, static_cast<off_t>(offset));
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0)
            return false;
        buf += w;
        n -= static_cast<size_t>(w);
        offset += static_cast<uint64_t>(w);
    }
    return true;
}

// Writes one chunk; a hole going into a fresh target only extends it.
bool MoveChunk(const CopyRequest& r, uint64_t done, size_t n, std::vector<char>& buf)
{
    const uint64_t src = r.srcOffset + done;
    const uint64_t dst = r.dstOffset + done;
    if (r.dstIsFresh && IsHole(r.srcFd, src, n)) {
        off_t size = ::lseek(r.dstFd, 0, SEEK_END);
        if (size >= 0 && static_cast<uint64_t>(size) < dst + n)
            return ::ftruncate(r.dstFd, static_cast<off_t>(dst + n)) == 0;
        return size >= 0;
    }
    return ReadFully(r.srcFd, buf.data(), n, src) && WriteFully(r.dstFd, buf.data(), n, dst);
}

}  // namespace

Pacer::Pacer(uint64_t bytesPerSecond) : rate_(bytesPerSecond), start_(std::chrono::steady_clock::now()) {}

void Pacer::Advance(uint64_t bytes)
{
    done_ += bytes;
    if (rate_ == 0)
        return;
    const auto due = start_ + std::chrono::microseconds(static_cast<int64_t>(
                                  static_cast<long double>(done_) * 1'000'000.0L / static_cast<long double>(rate_)));
    std::this_thread::sleep_until(due);
}

Pacer PacerForDuration(uint64_t totalBytes, int durationMs)
{
    if (durationMs <= 0 || totalBytes == 0)
        return Pacer(0);
    return Pacer(std::max<uint64_t>(1, totalBytes * 1000 / static_cast<uint64_t>(durationMs)));
}

uint64_t ChunkForSpeed(uint64_t bytesPerSecond)
{
    return std::clamp<uint64_t>(bytesPerSecond / 10, 64 << 10, 4 << 20);
}

std::string CopyRange(const CopyRequest& r, Pacer& pacer, const ProgressFn& progress)
{
    std::vector<char> buf(static_cast<size_t>(std::max<uint64_t>(1, r.chunk)));
    uint64_t done = 0;
    while (done < r.length) {
        size_t n = static_cast<size_t>(std::min<uint64_t>(buf.size(), r.length - done));
        if (done + n > r.failAfter)
            n = static_cast<size_t>(r.failAfter - done);
        if (n == 0)
            return "Input/output error";
        if (!MoveChunk(r, done, n, buf))
            return std::strerror(errno);
        done += n;
        pacer.Advance(n);
        if (progress && !progress(done))
            return "stopped";
    }
    if (r.length == 0 && progress)
        progress(0);
    return {};
}

bool FlipByteAt(const std::filesystem::path& file, uint64_t offset)
{
    const UniqueFd fd(::open(file.c_str(), O_RDWR | O_CLOEXEC));
    char byte = 0;
    if (!fd.ok() || ::pread(fd.get(), &byte, 1, static_cast<off_t>(offset)) != 1)
        return false;
    byte = static_cast<char>(~byte);
    return ::pwrite(fd.get(), &byte, 1, static_cast<off_t>(offset)) == 1;
}

}  // namespace box::dev
