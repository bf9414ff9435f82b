#pragma once
// One host connection: the CNXN handshake in the current link mode, and the
// streams the host opens on it.  Run() reads packets on the calling thread;
// every shell command runs on a thread of its own.

#include "DeviceApi.h"
#include "LinkState.h"
#include "PacketSender.h"
#include "Socket.h"

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace box {

class ShellStream;
class SyncStream;

class Session : public PacketSender {
public:
    // onReboot runs on a command's thread once "reboot" returned; it must not
    // wait for this session to end.
    Session(UniqueFd fd, DeviceApi& device, LinkMode mode, std::function<void()> onReboot);
    ~Session() override;

    // Serves the connection until the host leaves, Drop() is called or the
    // host breaks the protocol; then waits for the running commands.
    void Run();

    // Ends the connection from any thread.
    void Drop();

    // The connection is still up.
    bool Open() const { return open_; }

    // Answers the host's waiting CNXN (an offline or unauthorized link
    // becomes online) or the next one to come.
    void Promote();

    bool Send(const Packet& packet) override;

private:
    struct SyncEntry;

    void Handle(const Packet& packet);
    void HandleConnect(const Packet& packet);
    void HandleAuth(const Packet& packet);
    void HandleOpen(const Packet& packet);
    void HandleOkay(const Packet& packet);
    void HandleWrite(const Packet& packet);
    void HandleClose(const Packet& packet);
    void OpenShell(uint32_t remoteId, const std::string& command);
    void OpenSync(uint32_t remoteId);
    void RunCommand(std::shared_ptr<ShellStream> stream, std::string command,
                    std::shared_ptr<std::atomic<bool>> done);
    void FlushSync(uint32_t localId, SyncEntry& entry);
    void SendConnect();
    void CloseAllStreams();

    UniqueFd fd_;
    DeviceApi& device_;
    std::function<void()> onReboot_;
    std::atomic<bool> open_{true};
    std::mutex writeMutex_;

    std::mutex mutex_;  // guards everything below
    LinkMode mode_;
    bool hostConnected_ = false;  // the host's CNXN arrived
    bool answered_ = false;       // our CNXN went out
    size_t maxPayload_ = 4096;
    uint32_t nextId_ = 1;
    std::map<uint32_t, std::shared_ptr<ShellStream>> shells_;
    std::map<uint32_t, std::unique_ptr<SyncEntry>> syncs_;
    struct Worker {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };
    void ReapWorkers();
    std::vector<Worker> workers_;
};

}  // namespace box
