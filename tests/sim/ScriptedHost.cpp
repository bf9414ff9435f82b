#include "ScriptedHost.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace boxtest {

void ScriptedHost::Send(const box::Packet& packet)
{
    SendRaw(box::EncodePacket(packet));
}

void ScriptedHost::SendRaw(const std::string& bytes)
{
    box::WriteAll(fd_.Get(), bytes);
}

std::optional<box::Packet> ScriptedHost::Next(int timeoutMs)
{
    if (!box::WaitReadable(fd_.Get(), timeoutMs))
        return std::nullopt;
    box::Packet packet;
    std::string error;
    if (!box::ReadPacket(fd_.Get(), box::kMaxPayload, packet, error))
        return std::nullopt;
    return packet;
}

bool ScriptedHost::ClosedByBox(int timeoutMs)
{
    if (!box::WaitReadable(fd_.Get(), timeoutMs))
        return false;
    char c;
    return ::read(fd_.Get(), &c, 1) <= 0;
}

void ScriptedHost::Connect(uint32_t maxPayload)
{
    Send({box::kCnxn, 0x01000000, maxPayload, "host::features=shell_v2,cmd,stat_v2"});
}

uint32_t ScriptedHost::Open(uint32_t hostId, const std::string& service)
{
    Send({box::kOpen, hostId, 0, service + '\0'});
    std::optional<box::Packet> answer = Next();
    if (!answer || answer->arg1 != hostId)
        return 0;
    return answer->command == box::kOkay ? answer->arg0 : 0;
}

std::string ScriptedHost::ReadUntilClose(uint32_t hostId, uint32_t localId)
{
    std::string data;
    while (std::optional<box::Packet> packet = Next()) {
        EXPECT_EQ(packet->arg0, localId);
        EXPECT_EQ(packet->arg1, hostId);
        if (packet->command == box::kClse)
            return data;
        EXPECT_EQ(packet->command, box::kWrte);
        data += packet->payload;
        Send({box::kOkay, hostId, localId, {}});
    }
    ADD_FAILURE() << "the stream did not close; got so far: " << data;
    return data;
}

}  // namespace boxtest
