#pragma once
// The legacy sync service as push and pull need it (STAT, SEND/DATA/DONE,
// RECV, QUIT).  The host's WRTE boundaries are arbitrary, so requests are
// parsed from an accumulating byte stream.  A pull's answer is produced piece
// by piece as the host takes it (NextPull), never held whole.

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

    // A RECV is being answered: NextPull() gives the next bytes to send.
    bool Pulling() const { return source_ != nullptr; }
    // DATA records filling at most about `max` bytes; DONE or FAIL at the end.
    std::string NextPull(size_t max);

private:
    bool Step(std::string& reply);
    bool StepData(std::string& reply);
    void HandleRequest(const std::string& id, const std::string& body, std::string& reply);
    void Stat(const std::string& path, std::string& reply);
    void Send(const std::string& pathAndMode, std::string& reply);
    void Done(uint32_t mtime, std::string& reply);
    void Recv(const std::string& path, std::string& reply);
    void Fail(const std::string& message, std::string& reply);

    std::string_view Pending() const { return std::string_view(buffer_).substr(pos_); }

    DeviceApi& device_;
    std::string buffer_;
    size_t pos_ = 0;                  // start of the unparsed bytes in buffer_
    bool finished_ = false;
    bool sending_ = false;            // between SEND and DONE
    std::unique_ptr<PushTarget> target_;
    std::string pushError_;           // first failure of the current push
    std::unique_ptr<PullSource> source_;  // between RECV and its DONE
};

}  // namespace box
