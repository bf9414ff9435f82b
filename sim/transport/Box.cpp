#include "Box.h"

#include "ControlChannel.h"
#include "Log.h"
#include "Session.h"

#include <cstdio>
#include <cstdlib>
#include <poll.h>
#include <sys/socket.h>

namespace box {

struct Box::Running {
    std::shared_ptr<Session> session;
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> done;
};

uint16_t AdbServerPortFromEnvironment()
{
    const char* text = std::getenv("ANDROID_ADB_SERVER_PORT");
    if (text && *text) {
        long port = std::strtol(text, nullptr, 10);
        if (port > 0 && port < 65536)
            return static_cast<uint16_t>(port);
    }
    return 5037;
}

Box::Box(DeviceApi& device, BoxOptions options)
    : device_(device), options_(std::move(options)), mode_(options_.link), plugged_(options_.plugged)
{
}

Box::~Box()
{
    Stop();
}

bool Box::Start(std::string& error)
{
    listener_ = ListenLoopback(options_.port, error);
    if (!listener_.Valid()) {
        error = "cannot listen on 127.0.0.1:" + std::to_string(options_.port) + ": " + error;
        return false;
    }
    port_ = LocalPort(listener_.Get());
    if (!options_.controlSocket.empty()) {
        control_ = ListenUnix(options_.controlSocket.string(), error);
        if (!control_.Valid())
            return false;
    }
    loop_ = std::thread(&Box::Loop, this);
    return true;
}

void Box::Stop()
{
    stopping_ = true;
    if (loop_.joinable())
        loop_.join();
    ReapSessions(true);
    if (control_.Valid()) {
        control_.Reset();
        std::remove(options_.controlSocket.c_str());
    }
    listener_.Reset();
}

void Box::Loop()
{
    while (!stopping_) {
        ReapSessions(false);
        SyncListener();
        Register();
        pollfd fds[2] = {{listener_.Get(), POLLIN, 0}, {control_.Get(), POLLIN, 0}};
        if (::poll(fds, 2, 100) <= 0)
            continue;
        if (fds[0].revents & POLLIN)
            AcceptHost();
        if (fds[1].revents & POLLIN)
            ServeControl();
    }
}

bool Box::Available() const
{
    return plugged_ && Clock::now() >= rebootUntil_;
}

bool Box::HasHost() const
{
    return current_ && current_->Open();
}

// An unplugged or rebooting box refuses connections, as a box that is not
// there would: the server's retries and `adb connect` fail.
void Box::SyncListener()
{
    bool wanted;
    {
        std::lock_guard lock(mutex_);
        wanted = Available();
    }
    if (!wanted) {
        listener_.Reset();
        return;
    }
    if (listener_.Valid())
        return;
    std::string error;
    listener_ = ListenLoopback(port_, error);
    if (!listener_.Valid())
        LogLine("cannot listen again on port " + std::to_string(port_) + ": " + error);
}

// A USB box appears to every adb server by itself; over TCP the box has to
// ask the server to connect.
void Box::Register()
{
    {
        std::lock_guard lock(mutex_);
        if (!Available() || HasHost())
            return;
    }
    auto now = Clock::now();
    if (now - lastRegistration_ < std::chrono::milliseconds(options_.registerIntervalMs))
        return;
    lastRegistration_ = now;
    UniqueFd server = ConnectLoopback(options_.adbServerPort);
    if (!server.Valid())
        return;
    std::string request = "host:emulator:" + std::to_string(port_);
    char length[5];
    std::snprintf(length, sizeof length, "%04zx", request.size());
    WriteAll(server.Get(), length + request);
}

void Box::AcceptHost()
{
    UniqueFd fd(::accept4(listener_.Get(), nullptr, nullptr, SOCK_CLOEXEC));
    if (!fd.Valid())
        return;
    SetNoDelay(fd.Get());
    std::lock_guard lock(mutex_);
    if (!Available()) {
        LogLine("refusing a host connection: the box is not plugged in");
        return;
    }
    if (HasHost()) {
        // Like USB, one host at a time; a second server would list the box twice.
        LogLine("closing a second host connection");
        return;
    }
    StartSession(std::move(fd));
}

void Box::StartSession(UniqueFd fd)
{
    auto session = std::make_shared<Session>(std::move(fd), device_, mode_, [this] { Reboot(); });
    auto done = std::make_shared<std::atomic<bool>>(false);
    auto running = std::make_unique<Running>();
    running->session = session;
    running->done = done;
    running->thread = std::thread([session, done] {
        session->Run();
        *done = true;
    });
    current_ = session;
    sessions_.push_back(std::move(running));
}

void Box::ReapSessions(bool all)
{
    std::vector<std::unique_ptr<Running>> ended;
    {
        std::lock_guard lock(mutex_);
        for (auto it = sessions_.begin(); it != sessions_.end();) {
            if (all)
                (*it)->session->Drop();
            if (all || *(*it)->done) {
                ended.push_back(std::move(*it));
                it = sessions_.erase(it);
            } else {
                ++it;
            }
        }
        if (all)
            current_.reset();
    }
    for (auto& running : ended)
        running->thread.join();
}

void Box::Reboot()
{
    int delay = device_.RebootDelayMs();
    std::lock_guard lock(mutex_);
    LogLine("rebooting: away for " + std::to_string(delay) + " ms");
    rebootUntil_ = Clock::now() + std::chrono::milliseconds(delay);
    if (current_)
        current_->Drop();
}

void Box::ServeControl()
{
    UniqueFd client(::accept4(control_.Get(), nullptr, nullptr, SOCK_CLOEXEC));
    if (!client.Valid())
        return;
    std::string command;
    if (!ReadControlLine(client.Get(), command)) {
        LogLine("ignoring an incomplete control command");
        return;
    }
    WriteAll(client.Get(), Control(command) + "\n");
}

std::string Box::Control(const std::string& command)
{
    std::lock_guard lock(mutex_);
    if (command == "status")
        return Status();
    if (command == "plug" || command == "unplug") {
        plugged_ = command == "plug";
        if (!plugged_ && current_)
            current_->Drop();
        return "ok";
    }
    std::optional<LinkMode> mode = ParseLinkMode(command);
    if (!mode)
        return device_.Control(command);
    mode_ = *mode;
    if (current_ && mode_ == LinkMode::Online)
        current_->Promote();
    else if (current_)
        current_->Drop();
    return "ok";
}

std::string Box::Status() const
{
    return "link=" + LinkModeName(mode_) + " plugged=" + (plugged_ ? "yes" : "no")
           + " host=" + (HasHost() ? "yes" : "no") + " rebooting=" + (Clock::now() < rebootUntil_ ? "yes" : "no");
}

}  // namespace box
