#pragma once
// The legacy sync service as far as push needs it (STAT, SEND/DATA/DONE,
// QUIT).  The host's WRTE boundaries are arbitrary, so requests are parsed
// from an accumulating byte stream.

#include "DeviceApi.h"

#include <memory>
#include <string>
#include <string_view>

namespace box {

class SyncStream {
public:
    explicit SyncStream(DeviceApi& device) : device_(device) {}
    ~SyncStream();

    // Consumes bytes from the host and returns what must go back to it.
    std::string Feed(std::string_view bytes);

    // QUIT arrived or the host broke the protocol: the stream must be closed.
    bool Finished() const { return finished_; }

private:
    bool Step(std::string& reply);
    bool StepData(std::string& reply);
    void HandleRequest(const std::string& id, const std::string& body, std::string& reply);
    void Stat(const std::string& path, std::string& reply);
    void Send(const std::string& pathAndMode, std::string& reply);
    void Done(uint32_t mtime, std::string& reply);
    void Fail(const std::string& message, std::string& reply);

    std::string_view Pending() const { return std::string_view(buffer_).substr(pos_); }

    DeviceApi& device_;
    std::string buffer_;
    size_t pos_ = 0;                  // start of the unparsed bytes in buffer_
    bool finished_ = false;
    bool sending_ = false;            // between SEND and DONE
    std::unique_ptr<PushTarget> target_;
    std::string pushError_;           // first failure of the current push
};

}  // namespace box
