#pragma once
// One legacy shell stream.  The command writes into it from its own thread;
// the host's OKAYs and CLSE arrive from the connection's reader thread.

#include "DeviceApi.h"
#include "PacketSender.h"

#include <condition_variable>
#include <mutex>
#include <string>
#include <string_view>

namespace box {

// An old device runs commands on a terminal, whose line discipline turns
// every line feed into carriage return + line feed.
std::string ToTerminal(std::string_view bytes);

class ShellStream : public Output {
public:
    ShellStream(PacketSender& sender, uint32_t localId, uint32_t remoteId, size_t maxPayload);

    // Blocks until the host acknowledged the previous WRTE; false once the
    // host closed the stream or the connection.
    bool Write(std::string_view bytes) override;

    void OnOkay();
    void OnClose();

    // The command ended: waits for the last acknowledgement and closes the
    // stream towards the host unless the host already did.
    void Finish();

    uint32_t LocalId() const { return localId_; }

private:
    bool WaitForOkay(std::unique_lock<std::mutex>& lock);

    PacketSender& sender_;
    const uint32_t localId_;
    const uint32_t remoteId_;
    const size_t maxPayload_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool awaitingOkay_ = false;
    bool closed_ = false;
};

}  // namespace box
