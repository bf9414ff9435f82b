#include "Session.h"

#include "Log.h"
#include "ShellStream.h"
#include "SyncStream.h"

#include <algorithm>
#include <random>
#include <sys/socket.h>

namespace box {

struct Session::SyncEntry {
    SyncEntry(DeviceApi& device, uint32_t remote) : parser(device), remoteId(remote) {}
    SyncStream parser;
    uint32_t remoteId;
    std::string pending;  // replies waiting for the host's OKAY
    bool awaitingOkay = false;
};

namespace {

constexpr uint32_t kAuthToken = 1;
constexpr size_t kAuthTokenSize = 20;

std::string RandomToken()
{
    std::random_device random;
    std::string token(kAuthTokenSize, '\0');
    for (char& c : token)
        c = static_cast<char>(random() & 0xff);
    return token;
}

std::string ServiceName(const std::string& payload)
{
    std::string name = payload;
    while (!name.empty() && name.back() == '\0')
        name.pop_back();
    return name;
}

}  // namespace

Session::Session(UniqueFd fd, DeviceApi& device, LinkMode mode, std::function<void()> onReboot)
    : fd_(std::move(fd)), device_(device), onReboot_(std::move(onReboot)), mode_(mode)
{
}

Session::~Session()
{
    Drop();
    for (Worker& worker : workers_) {
        if (worker.thread.joinable())
            worker.thread.join();
    }
}

void Session::Run()
{
    Packet packet;
    std::string error;
    while (open_ && ReadPacket(fd_.Get(), kMaxPayload, packet, error))
        Handle(packet);
    if (!error.empty())
        LogLine("dropping the host connection: " + error);
    open_ = false;
    ::shutdown(fd_.Get(), SHUT_RDWR);
    CloseAllStreams();
    std::vector<Worker> workers;
    {
        std::lock_guard lock(mutex_);
        workers.swap(workers_);
    }
    for (Worker& worker : workers)
        worker.thread.join();
}

void Session::Drop()
{
    open_ = false;
    if (fd_.Valid())
        ::shutdown(fd_.Get(), SHUT_RDWR);
}

bool Session::Send(const Packet& packet)
{
    std::lock_guard lock(writeMutex_);
    return open_ && WriteAll(fd_.Get(), EncodePacket(packet));
}

void Session::Promote()
{
    std::lock_guard lock(mutex_);
    mode_ = LinkMode::Online;
    if (hostConnected_ && !answered_)
        SendConnect();
}

void Session::SendConnect()
{
    answered_ = true;
    Send({kCnxn, kProtocolVersion, kMaxPayload, DeviceBanner(device_)});
}

void Session::Handle(const Packet& packet)
{
    switch (packet.command) {
    case kCnxn: HandleConnect(packet); break;
    case kAuth: HandleAuth(packet); break;
    case kOpen: HandleOpen(packet); break;
    case kOkay: HandleOkay(packet); break;
    case kWrte: HandleWrite(packet); break;
    case kClse: HandleClose(packet); break;
    default: LogLine("ignoring unknown packet " + CommandName(packet.command)); break;
    }
}

void Session::HandleConnect(const Packet& packet)
{
    std::lock_guard lock(mutex_);
    hostConnected_ = true;
    maxPayload_ = std::clamp<size_t>(packet.arg1, 1, kMaxPayload);
    if (mode_ == LinkMode::Online)
        SendConnect();
    else if (mode_ == LinkMode::Unauthorized)
        Send({kAuth, kAuthToken, 0, RandomToken()});
}

// Every signature is rejected with a fresh token, as a device that knows no
// key does; once the host runs out of keys it offers its public key, which is
// never accepted, and shows the box as unauthorized.
void Session::HandleAuth(const Packet& packet)
{
    constexpr uint32_t kAuthSignature = 2;
    std::lock_guard lock(mutex_);
    if (mode_ == LinkMode::Unauthorized && !answered_ && packet.arg0 == kAuthSignature)
        Send({kAuth, kAuthToken, 0, RandomToken()});
}

void Session::HandleOpen(const Packet& packet)
{
    std::string service = ServiceName(packet.payload);
    {
        std::lock_guard lock(mutex_);
        if (!answered_) {
            LogLine("ignoring OPEN " + service + " before the connection is up");
            return;
        }
    }
    if (service.rfind("shell:", 0) == 0) {
        OpenShell(packet.arg0, service.substr(6));
    } else if (service == "sync:") {
        OpenSync(packet.arg0);
    } else if (service.rfind("reboot:", 0) == 0) {
        // Accepted, then the link simply goes away, as on a real device.
        uint32_t localId;
        {
            std::lock_guard lock(mutex_);
            localId = nextId_++;
        }
        Send({kOkay, localId, packet.arg0, {}});
        if (onReboot_)
            onReboot_();
    } else {
        LogLine("refusing service " + service);
        Send({kClse, 0, packet.arg0, {}});
    }
}

void Session::OpenShell(uint32_t remoteId, const std::string& command)
{
    std::lock_guard lock(mutex_);
    uint32_t localId = nextId_++;
    auto stream = std::make_shared<ShellStream>(*this, localId, remoteId, maxPayload_);
    shells_[localId] = stream;
    Send({kOkay, localId, remoteId, {}});
    ReapWorkers();
    auto done = std::make_shared<std::atomic<bool>>(false);
    workers_.push_back({std::thread(&Session::RunCommand, this, stream, command, done), done});
}

// A long session runs thousands of short commands: join the ended ones.
void Session::ReapWorkers()
{
    auto ended = std::partition(workers_.begin(), workers_.end(), [](const Worker& w) { return !*w.done; });
    for (auto it = ended; it != workers_.end(); ++it)
        it->thread.join();
    workers_.erase(ended, workers_.end());
}

void Session::RunCommand(std::shared_ptr<ShellStream> stream, std::string command,
                         std::shared_ptr<std::atomic<bool>> done)
{
    ShellResult result;
    try {
        result = device_.RunShell(command, *stream);
    } catch (const std::exception& e) {
        LogLine("command '" + command + "' failed: " + e.what());
    }
    stream->Finish();
    {
        std::lock_guard lock(mutex_);
        shells_.erase(stream->LocalId());
    }
    if (result.reboot && onReboot_)
        onReboot_();
    *done = true;
}

void Session::OpenSync(uint32_t remoteId)
{
    std::lock_guard lock(mutex_);
    uint32_t localId = nextId_++;
    syncs_[localId] = std::make_unique<SyncEntry>(device_, remoteId);
    Send({kOkay, localId, remoteId, {}});
}

void Session::HandleOkay(const Packet& packet)
{
    std::shared_ptr<ShellStream> shell;
    {
        std::lock_guard lock(mutex_);
        if (auto it = syncs_.find(packet.arg1); it != syncs_.end()) {
            it->second->awaitingOkay = false;
            FlushSync(packet.arg1, *it->second);
            return;
        }
        if (auto it = shells_.find(packet.arg1); it != shells_.end())
            shell = it->second;
    }
    if (shell)
        shell->OnOkay();
}

void Session::HandleWrite(const Packet& packet)
{
    std::lock_guard lock(mutex_);
    if (auto it = syncs_.find(packet.arg1); it != syncs_.end()) {
        Send({kOkay, packet.arg1, packet.arg0, {}});
        SyncEntry& entry = *it->second;
        entry.pending += entry.parser.Feed(packet.payload);
        FlushSync(packet.arg1, entry);
        return;
    }
    if (shells_.count(packet.arg1)) {
        // Standard input of a legacy shell command: acknowledged, not used.
        Send({kOkay, packet.arg1, packet.arg0, {}});
        return;
    }
    LogLine("ignoring WRTE for unknown stream " + std::to_string(packet.arg1));
}

// Sends queued sync replies, one WRTE per host OKAY, and closes the stream
// once the parser finished and everything went out.
void Session::FlushSync(uint32_t localId, SyncEntry& entry)
{
    if (entry.awaitingOkay)
        return;
    // A pull's bytes are read (at the box's pace) only when the host took
    // the previous WRTE, so a large file is never held in memory.
    if (entry.pending.empty() && entry.parser.Pulling())
        entry.pending = entry.parser.NextPull(maxPayload_);
    if (!entry.pending.empty()) {
        size_t size = std::min(entry.pending.size(), maxPayload_);
        entry.awaitingOkay = true;
        Send({kWrte, localId, entry.remoteId, entry.pending.substr(0, size)});
        entry.pending.erase(0, size);
        return;
    }
    if (entry.parser.Finished()) {
        Send({kClse, localId, entry.remoteId, {}});
        syncs_.erase(localId);
    }
}

void Session::HandleClose(const Packet& packet)
{
    std::shared_ptr<ShellStream> shell;
    {
        std::lock_guard lock(mutex_);
        syncs_.erase(packet.arg1);
        if (auto it = shells_.find(packet.arg1); it != shells_.end()) {
            shell = it->second;
            shells_.erase(it);
        }
    }
    if (shell)
        shell->OnClose();
}

void Session::CloseAllStreams()
{
    std::map<uint32_t, std::shared_ptr<ShellStream>> shells;
    {
        std::lock_guard lock(mutex_);
        shells.swap(shells_);
        syncs_.clear();
    }
    for (auto& [id, shell] : shells)
        shell->OnClose();
}

}  // namespace box
