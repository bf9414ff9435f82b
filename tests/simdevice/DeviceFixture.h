#pragma once
// A device on a private, throw-away state directory, and helpers to run
// command lines against it.

#include "sim/device/Device.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>

namespace boxtest {

namespace fs = std::filesystem;

// Collects everything a command writes.  With a write limit it reports the
// host gone after that many writes.
class CaptureOutput : public box::Output {
public:
    explicit CaptureOutput(int writeLimit = -1) : limit_(writeLimit) {}
    bool Write(std::string_view bytes) override;
    std::string Text() const;
    int Writes() const { return writes_; }

private:
    mutable std::mutex mutex_;
    std::string text_;
    int limit_;
    std::atomic<int> writes_{0};
};

class DeviceTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Settings that keep tests quick: no pacing, a small chip.
    virtual std::string ConfigJson() const;

    std::string Run(const std::string& command);
    void Restart();
    std::string Ctl(const std::string& command) { return device->Control(command); }

    fs::path Host(const std::string& relative) const { return dir / relative; }
    void WriteHostFile(const std::string& relative, const std::string& content) const;
    std::string ReadHostFile(const std::string& relative) const;
    std::string ReadHostBytes(const std::string& relative, uint64_t offset, size_t count) const;

    fs::path dir;
    std::unique_ptr<box::Device> device;
};

std::string Pattern(size_t size, unsigned seed);
bool Contains(const std::string& text, const std::string& part);

}  // namespace boxtest
