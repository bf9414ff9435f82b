#pragma once
// Runs kz_daemon (or adb) as a separate process for the tests, with its own
// fork and exec so that the adapter's spawning code is not what checks it.

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

#include "support/Process.h"

namespace kz::adapter::test {

// Environment changes on top of the test's own: a value sets, nullopt unsets.
using EnvChanges = std::map<std::string, std::optional<std::string>>;

struct LaunchOptions
{
    EnvChanges env;
    std::optional<std::string> stdinText;  // else /dev/null
    bool hostileSignals = false;           // start with SIGTERM blocked, SIGINT ignored
};

class Launched
{
public:
    Launched(const std::vector<std::string>& argv, const LaunchOptions& options);
    ~Launched();
    Launched(const Launched&) = delete;
    Launched& operator=(const Launched&) = delete;

    pid_t Pid() const { return pid_; }

    // Reads standard output until `text` has arrived or the timeout passed;
    // returns everything read so far.
    std::string ReadUntil(const std::string& text, std::chrono::milliseconds timeout);
    // Reads to end of file, then reaps; returns the wait status.
    int Finish();
    const std::string& Output() const { return output_; }

private:
    bool ReadSome(int timeoutMs);

    pid_t pid_ = -1;
    int out_ = -1;
    std::string output_;
};

struct Result
{
    std::string output;
    int status = 0;
    double seconds = 0;
};

Result RunProcess(const std::vector<std::string>& argv, const LaunchOptions& options = {});

// The adapter under test in this build.
std::string AdapterPath();

// The name the adapter bench knows the shared free-port finder by.
inline int FreeLocalPort() { return kz::test::FreeTcpPort(); }

// A socket listening on a free 127.0.0.1 port with `backlog`; its port in
// `port`.  Throws when none can be had.
int ListenLocally(int backlog, int& port);

// Something listening on a free 127.0.0.1 port and never answering: to the
// adapter, a running adb server, so it leaves the fake adb's commands alone.
class ServerStandIn
{
public:
    ServerStandIn();
    ~ServerStandIn();
    ServerStandIn(const ServerStandIn&) = delete;
    ServerStandIn& operator=(const ServerStandIn&) = delete;
    int Port() const { return port_; }

private:
    int fd_ = -1;
    int port_ = 0;
};

// A folder removed with everything in it when the object goes.
class TempDir
{
public:
    TempDir();
    ~TempDir();
    const std::string& Path() const { return path_; }
    // Writes an executable /bin/sh script and returns its path.
    std::string Script(const std::string& name, const std::string& body) const;

private:
    std::string path_;
};

}  // namespace kz::adapter::test
