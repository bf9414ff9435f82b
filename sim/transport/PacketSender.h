#pragma once

#include "Packet.h"

namespace box {

// Serialises packets from several threads onto one connection.
class PacketSender {
public:
    virtual ~PacketSender() = default;
    // False once the connection is gone.
    virtual bool Send(const Packet& packet) = 0;
};

}  // namespace box
