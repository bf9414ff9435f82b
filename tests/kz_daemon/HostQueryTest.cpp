#include "tools/kz_daemon/DirectShell.h"
#include "tools/kz_daemon/HostQuery.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace kz::adapter;
using namespace std::chrono_literals;

namespace {

// A one-connection server that reads one request and answers `reply`, then
// closes (or, with `hold`, keeps the connection open until the test ends).
class FakeServer {
public:
    explicit FakeServer(std::string reply) : reply_(std::move(reply))
    {
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(listener_, 1);
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] {
            const int connection = accept(listener_, nullptr, nullptr);
            char buffer[256];
            const ssize_t n = read(connection, buffer, sizeof buffer);
            request_.assign(buffer, n > 0 ? std::size_t(n) : 0);
            [[maybe_unused]] ssize_t sent = write(connection, reply_.data(), reply_.size());
            close(connection);
        });
    }
    ~FakeServer()
    {
        thread_.join();
        close(listener_);
    }
    int Port() const { return port_; }
    const std::string& Request() const { return request_; }

private:
    std::string reply_;
    std::string request_;
    int listener_ = -1;
    int port_ = 0;
    std::thread thread_;
};

}  // namespace

TEST(HostQuery, OnlyAWholeOkayAnswerGivesAPayload)
{
    struct Case {
        std::string reply;
        std::optional<std::string> payload;
    };
    const Case cases[] = {
        {"OKAY0015emulator-5554\tdevice\n", "emulator-5554\tdevice\n"},
        {"OKAY0000", ""},
        {"OKAY0030emulator-5554\toffline\n0123\t", std::nullopt},  // cut short
        {"FAIL0010device not found", std::nullopt},
        {"OKAY00g1x", std::nullopt},
        {"OKA", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        std::optional<std::string> payload;
        std::string request;
        {
            FakeServer server(c.reply);
            payload = AskHostServer(server.Port(), "host:devices", 2s);
            request = server.Request();
        }
        EXPECT_EQ(payload, c.payload) << c.reply;
        EXPECT_EQ(request, "000chost:devices");
    }
}

TEST(HostQuery, NoServerMeansNoAnswer)
{
    int port;
    {
        FakeServer server("");
        port = server.Port();
        HostConnection first;
        ASSERT_TRUE(first.Open(port, 1s));
    }
    EXPECT_EQ(AskHostServer(port, "host:devices", 1s), std::nullopt);
}

TEST(HostQuery, ListingReadsAsAdbPrintsIt)
{
    EXPECT_EQ(DevicesListing(""), "List of devices attached\n\n");
    EXPECT_EQ(DevicesListing("a\tdevice\nb\toffline\n"), "List of devices attached\na\tdevice\nb\toffline\n\n");
}

TEST(DirectShell, OnlyThePlainFormIsTaken)
{
    struct Case {
        std::vector<std::string> args;
        const char* serialEnv;
        std::optional<std::string> transport, service;
    };
    const Case cases[] = {
        {{"shell", "ls", "-l", "/mnt/udisk"}, nullptr, "host:transport-any", "shell:ls -l /mnt/udisk"},
        {{"shell", "cd /mnt/sdcard && rm './a b'"}, nullptr, "host:transport-any", "shell:cd /mnt/sdcard && rm './a b'"},
        {{"-s", "emulator-5556", "shell", "true"}, nullptr, "host:transport:emulator-5556", "shell:true"},
        {{"shell", "true"}, "0123", "host:transport:0123", "shell:true"},
        {{"shell"}, nullptr, std::nullopt, std::nullopt},            // interactive
        {{"shell", "-x", "ls"}, nullptr, std::nullopt, std::nullopt},  // adb's own shell option
        {{"shell", ""}, nullptr, std::nullopt, std::nullopt},
        {{"push", "a", "/mnt/sdcard/a"}, nullptr, std::nullopt, std::nullopt},
        {{"-s", "x", "push", "a", "b"}, nullptr, std::nullopt, std::nullopt},
        {{"-d", "shell", "true"}, nullptr, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<ShellPlan> plan = PlanDirectShell(c.args, c.serialEnv);
        ASSERT_EQ(plan.has_value(), c.transport.has_value()) << c.args.back();
        if (plan) {
            EXPECT_EQ(plan->transport, *c.transport);
            EXPECT_EQ(plan->service, *c.service);
        }
    }
}

TEST(DirectShell, ANewerShellProtocolIsLeftToAdb)
{
    EXPECT_TRUE(HasShellProtocol("cmd,shell_v2,stat_v2"));
    EXPECT_TRUE(HasShellProtocol("shell_v2"));
    EXPECT_FALSE(HasShellProtocol(""));
    EXPECT_FALSE(HasShellProtocol("shell_v2x,cmd"));
}
