#pragma once
// A stand-in adb server on a free 127.0.0.1 port that answers each
// connection in turn with the next scripted reply (read one request, write
// the reply, close) and keeps the requests it was sent.

#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace kz::adapter::test {

class ScriptedServer {
public:
    explicit ScriptedServer(std::vector<std::string> replies);
    ~ScriptedServer();
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    int Port() const { return port_; }
    // The requests read so far, one per connection.
    std::vector<std::string> Requests();

private:
    std::vector<std::string> replies_;
    std::vector<std::string> requests_;
    std::mutex mutex_;
    int listener_ = -1;
    int port_ = 0;
    std::thread thread_;
};

// The server's FAIL answer carrying `message`, length-prefixed as adb sends it.
std::string FailAnswer(std::string_view message);

}  // namespace kz::adapter::test
