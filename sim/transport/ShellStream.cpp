#include "ShellStream.h"

#include <algorithm>

namespace box {

std::string ToTerminal(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 16);
    for (char c : bytes) {
        if (c == '\n')
            out.push_back('\r');
        out.push_back(c);
    }
    return out;
}

ShellStream::ShellStream(PacketSender& sender, uint32_t localId, uint32_t remoteId, size_t maxPayload)
    : sender_(sender), localId_(localId), remoteId_(remoteId), maxPayload_(std::max<size_t>(maxPayload, 1))
{
}

bool ShellStream::WaitForOkay(std::unique_lock<std::mutex>& lock)
{
    changed_.wait(lock, [this] { return !awaitingOkay_ || closed_; });
    return !closed_;
}

bool ShellStream::Write(std::string_view bytes)
{
    std::string terminal = ToTerminal(bytes);
    std::string_view rest = terminal;
    std::unique_lock lock(mutex_);
    if (closed_)
        return false;
    while (!rest.empty()) {
        if (!WaitForOkay(lock))
            return false;
        size_t size = std::min(rest.size(), maxPayload_);
        awaitingOkay_ = true;
        // Unlocked while sending, so that the reader thread can still deliver
        // the host's OKAY or CLSE.
        lock.unlock();
        bool sent = sender_.Send({kWrte, localId_, remoteId_, std::string(rest.substr(0, size))});
        lock.lock();
        if (!sent) {
            closed_ = true;
            return false;
        }
        rest.remove_prefix(size);
    }
    return true;
}

void ShellStream::OnOkay()
{
    std::lock_guard lock(mutex_);
    awaitingOkay_ = false;
    changed_.notify_all();
}

void ShellStream::OnClose()
{
    std::lock_guard lock(mutex_);
    closed_ = true;
    changed_.notify_all();
}

void ShellStream::Finish()
{
    std::unique_lock lock(mutex_);
    if (!WaitForOkay(lock))
        return;
    closed_ = true;
    lock.unlock();
    sender_.Send({kClse, localId_, remoteId_, {}});
}

}  // namespace box
