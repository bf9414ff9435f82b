#include "SyncStream.h"

#include "Packet.h"

#include <algorithm>
#include <cstdlib>

namespace box {

namespace {

constexpr uint32_t kMaxPathLength = 1024;
constexpr uint32_t kMaxDataLength = 64 * 1024;

}  // namespace

SyncStream::~SyncStream() = default;

std::string SyncStream::Feed(std::string_view bytes)
{
    buffer_.append(bytes);
    std::string reply;
    while (!finished_ && !source_ && Step(reply)) {
    }
    // Compacting once per WRTE keeps a megabyte of DATA chunks linear to parse.
    buffer_.erase(0, pos_);
    pos_ = 0;
    return reply;
}

// Handles one complete request from the front of the buffer; false when more
// bytes are needed.
bool SyncStream::Step(std::string& reply)
{
    std::string_view pending = Pending();
    if (pending.size() < 8)
        return false;
    std::string id(pending.substr(0, 4));
    uint32_t length = ReadLe32(pending.data() + 4);
    if (id == "DATA")
        return StepData(reply);
    if (id == "DONE" || id == "QUIT") {
        pos_ += 8;
        if (id == "QUIT")
            finished_ = true;
        else
            Done(length, reply);
        return true;
    }
    if (length > kMaxPathLength) {
        Fail("path too long", reply);
        finished_ = true;
        return false;
    }
    if (pending.size() < 8 + length)
        return false;
    std::string body(pending.substr(8, length));
    pos_ += 8 + length;
    HandleRequest(id, body, reply);
    return true;
}

bool SyncStream::StepData(std::string& reply)
{
    std::string_view pending = Pending();
    uint32_t length = ReadLe32(pending.data() + 4);
    if (!sending_ || length > kMaxDataLength) {
        Fail(sending_ ? "data chunk too large" : "DATA outside of SEND", reply);
        finished_ = true;
        return false;
    }
    if (pending.size() < 8 + length)
        return false;
    std::string_view chunk = pending.substr(8, length);
    if (pushError_.empty() && target_ && !target_->Write(chunk, pushError_)) {
        if (pushError_.empty())
            pushError_ = "write failed";
        target_.reset();
    }
    pos_ += 8 + length;
    return true;
}

void SyncStream::HandleRequest(const std::string& id, const std::string& body, std::string& reply)
{
    if (id == "STAT") {
        Stat(body, reply);
    } else if (id == "SEND") {
        Send(body, reply);
    } else if (id == "RECV") {
        Recv(body, reply);
    } else {
        Fail("unsupported sync request " + id, reply);
        finished_ = true;
    }
}

void SyncStream::Stat(const std::string& path, std::string& reply)
{
    FileStat stat = device_.Stat(path);
    reply += "STAT";
    AppendLe32(reply, stat.mode);
    AppendLe32(reply, stat.size);
    AppendLe32(reply, stat.mtime);
}

void SyncStream::Send(const std::string& pathAndMode, std::string& reply)
{
    if (sending_) {
        Fail("SEND inside of SEND", reply);
        finished_ = true;
        return;
    }
    sending_ = true;
    pushError_.clear();
    size_t comma = pathAndMode.rfind(',');
    std::string path = pathAndMode.substr(0, comma);
    uint32_t mode = 0100644;
    if (comma != std::string::npos)
        mode = static_cast<uint32_t>(std::strtoul(pathAndMode.c_str() + comma + 1, nullptr, 10));
    target_ = device_.BeginPush(path, mode, pushError_);
    if (!target_ && pushError_.empty())
        pushError_ = "cannot create " + path;
}

void SyncStream::Done(uint32_t mtime, std::string& reply)
{
    if (!sending_) {
        Fail("DONE outside of SEND", reply);
        finished_ = true;
        return;
    }
    sending_ = false;
    if (pushError_.empty() && target_ && !target_->Finish(mtime, pushError_) && pushError_.empty())
        pushError_ = "write failed";
    target_.reset();
    if (!pushError_.empty()) {
        Fail(pushError_, reply);
        return;
    }
    reply += "OKAY";
    AppendLe32(reply, 0);
}

void SyncStream::Recv(const std::string& path, std::string& reply)
{
    std::string error;
    source_ = device_.BeginPull(path, error);
    if (!source_)
        Fail(error.empty() ? "cannot open " + path : error, reply);
}

std::string SyncStream::NextPull(size_t max)
{
    std::string out;
    while (source_ && out.size() + 8 < max) {
        std::string error;
        std::string piece = source_->Read(std::min<size_t>(kMaxDataLength, max - out.size() - 8), error);
        if (!piece.empty()) {
            out += "DATA";
            AppendLe32(out, static_cast<uint32_t>(piece.size()));
            out += piece;
            continue;
        }
        source_.reset();
        if (error.empty()) {
            out += "DONE";
            AppendLe32(out, 0);
        } else {
            Fail(error, out);
        }
    }
    // Requests that came in behind the RECV wait until it is answered.
    if (!source_)
        out += Feed({});
    return out;
}

void SyncStream::Fail(const std::string& message, std::string& reply)
{
    reply += "FAIL";
    AppendLe32(reply, static_cast<uint32_t>(message.size()));
    reply += message;
}

}  // namespace box
