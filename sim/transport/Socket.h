#pragma once
// Thin POSIX socket helpers for the simulated box.  Every descriptor is owned
// by a UniqueFd so that no error path leaks one.

#include <cstdint>
#include <string>
#include <string_view>

namespace box {

class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd() { Reset(); }
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    int Release();
    void Reset(int fd = -1);

private:
    int fd_ = -1;
};

// Listens on 127.0.0.1:port (0 picks a free port).  Invalid on failure, with
// the reason in error.
UniqueFd ListenLoopback(uint16_t port, std::string& error);
uint16_t LocalPort(int fd);
UniqueFd ConnectLoopback(uint16_t port);
// Sends small writes at once (every TCP socket of the box wants this).
void SetNoDelay(int fd);

UniqueFd ListenUnix(const std::string& path, std::string& error);
UniqueFd ConnectUnix(const std::string& path);

// Blocking whole-buffer transfers; false on end of stream or error.
bool ReadExact(int fd, void* buffer, size_t size);
bool WriteAll(int fd, std::string_view bytes);

// Waits until fd is readable or timeoutMs passes; true when readable.
bool WaitReadable(int fd, int timeoutMs);

}  // namespace box
