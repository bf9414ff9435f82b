#include "ScriptedServer.h"

#include "ProcessHarness.h"

#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace kz::adapter::test {

ScriptedServer::ScriptedServer(std::vector<std::string> replies)
    : replies_(std::move(replies))
{
    listener_ = ListenLocally(8, port_);
    thread_ = std::thread([this] {
        for (const std::string& reply : replies_) {
            const int connection = accept(listener_, nullptr, nullptr);
            if (connection < 0)
                return;  // shut down by the destructor
            char buffer[256];
            const ssize_t n = read(connection, buffer, sizeof buffer);
            {
                const std::lock_guard lock(mutex_);
                requests_.emplace_back(buffer, n > 0 ? std::size_t(n) : 0);
            }
            [[maybe_unused]] ssize_t sent = write(connection, reply.data(), reply.size());
            close(connection);
        }
    });
}

ScriptedServer::~ScriptedServer()
{
    // Wakes an accept() still waiting for a connection the client never made.
    shutdown(listener_, SHUT_RDWR);
    thread_.join();
    close(listener_);
}

std::vector<std::string> ScriptedServer::Requests()
{
    const std::lock_guard lock(mutex_);
    return requests_;
}

std::string FailAnswer(std::string_view message)
{
    char length[8];
    std::snprintf(length, sizeof length, "%04zx", message.size());
    return "FAIL" + std::string(length) + std::string(message);
}

}  // namespace kz::adapter::test
