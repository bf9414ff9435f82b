// korvald-box's own command line: refusals are clear and nothing is started.

#include "BoxFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/socket.h>
#include <netinet/in.h>
#include <unistd.h>

namespace {

std::string Box(const std::string& arguments)
{
    return e2e::KorvaldBoxPath().string() + " " + arguments;
}

class BoxCommandLineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = std::filesystem::path(::testing::TempDir()) / ("kz-box-cli-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::filesystem::path dir;
};

TEST_F(BoxCommandLineTest, BadArgumentsAreRefusedWithUsage)
{
    for (const std::string& args : {"--state " + dir.string(), "--port 70000 --state " + dir.string(),
                                   "--port 5x --state " + dir.string(), "--port 1 --state " + dir.string() + " --loud",
                                   std::string("ctl status"), "ctl --state " + dir.string()}) {
        e2e::CommandResult result = e2e::RunCommand(Box(args), 10);
        EXPECT_EQ(result.exitCode, 2) << args << "\n" << result.output;
        EXPECT_NE(result.output.find("usage:"), std::string::npos) << args;
    }
}

TEST_F(BoxCommandLineTest, ABadConfigStopsTheBoxAtStart)
{
    std::ofstream(dir / "bad.json") << R"({"link": {"state": "asleep"}})";
    e2e::CommandResult result = e2e::RunCommand(
        Box("--port " + std::to_string(e2e::FreeTcpPort()) + " --state " + (dir / "s").string() + " --config "
            + (dir / "bad.json").string()),
        10);
    EXPECT_NE(result.exitCode, 0);
    EXPECT_NE(result.output.find("link.state"), std::string::npos) << result.output;
}

TEST_F(BoxCommandLineTest, ABusyPortIsReportedAndCtlWithoutABoxSaysSo)
{
    int taken = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(::bind(taken, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::listen(taken, 1);
    ::getsockname(taken, reinterpret_cast<sockaddr*>(&address), &length);
    e2e::CommandResult busy = e2e::RunCommand(
        Box("--port " + std::to_string(ntohs(address.sin_port)) + " --state " + (dir / "s").string()), 10);
    ::close(taken);
    EXPECT_EQ(busy.exitCode, 1);
    EXPECT_NE(busy.output.find("cannot listen"), std::string::npos) << busy.output;

    e2e::CommandResult ctl = e2e::RunCommand(Box("ctl --state " + dir.string() + " status"), 10);
    EXPECT_EQ(ctl.exitCode, 1);
    EXPECT_NE(ctl.output.find("no box is running"), std::string::npos) << ctl.output;
}

}  // namespace
