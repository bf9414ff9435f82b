#pragma once
// The host end of a transport connection, driven packet by packet by a test.

#include "transport/Packet.h"
#include "transport/Socket.h"

#include <optional>
#include <string>

namespace boxtest {

class ScriptedHost {
public:
    explicit ScriptedHost(box::UniqueFd fd) : fd_(std::move(fd)) {}

    void Send(const box::Packet& packet);
    void SendRaw(const std::string& bytes);
    // The next packet within timeoutMs; nothing on timeout or end of stream.
    std::optional<box::Packet> Next(int timeoutMs = 2000);
    // True when the box closed the connection within timeoutMs.
    bool ClosedByBox(int timeoutMs = 2000);
    // Sends the host's CNXN, as adb 29 does when the connection opens.
    void Connect(uint32_t maxPayload = 0x100000);
    // Opens a service and returns the box's local id, or 0 when refused.
    uint32_t Open(uint32_t hostId, const std::string& service);
    // Reads WRTEs of a stream, acknowledging each, until its CLSE.
    std::string ReadUntilClose(uint32_t hostId, uint32_t localId);
    void Close() { fd_.Reset(); }

private:
    box::UniqueFd fd_;
};

}  // namespace boxtest
