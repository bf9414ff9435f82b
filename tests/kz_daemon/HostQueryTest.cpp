#include "tools/kz_daemon/DirectShell.h"
#include "tools/kz_daemon/HostQuery.h"

#include "ScriptedServer.h"

#include <gtest/gtest.h>

using namespace kz::adapter;
using namespace std::chrono_literals;

using kz::adapter::test::ScriptedServer;

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
            ScriptedServer server({c.reply});
            payload = AskHostServer(server.Port(), "host:devices", 2s);
            request = server.Requests().at(0);
        }
        EXPECT_EQ(payload, c.payload) << c.reply;
        EXPECT_EQ(request, "000chost:devices");
    }
}

TEST(HostQuery, OnlyAWholeFailAnswerIsARefusal)
{
    struct Case {
        std::string reply;
        bool okay;
        std::optional<std::string> refusal;
    };
    const Case cases[] = {
        {"OKAY", true, std::nullopt},
        {"FAIL0010device not found", false, "device not found"},
        {"FAIL0000", false, ""},
        {"FAIL0020device not", false, std::nullopt},  // cut short
        {"FAIL", false, std::nullopt},
        {"FAUX0000", false, std::nullopt},
    };
    for (const Case& c : cases) {
        ScriptedServer server({c.reply});
        HostConnection connection;
        ASSERT_TRUE(connection.Open(server.Port(), 2s));
        EXPECT_EQ(connection.Request("host:transport:emulator-5556"), c.okay) << c.reply;
        EXPECT_EQ(connection.Refusal(), c.refusal) << c.reply;
    }
}

TEST(HostQuery, NoServerMeansNoAnswer)
{
    int port;
    {
        ScriptedServer server({""});
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
        std::string features = {};
    };
    const Case cases[] = {
        {{"shell", "ls", "-l", "/mnt/udisk"}, nullptr, "host:transport-any", "shell:ls -l /mnt/udisk",
         "host:features"},
        {{"shell", "cd /mnt/sdcard && rm './a b'"}, nullptr, "host:transport-any", "shell:cd /mnt/sdcard && rm './a b'",
         "host:features"},
        {{"-s", "emulator-5556", "shell", "true"}, nullptr, "host:transport:emulator-5556", "shell:true",
         "host-serial:emulator-5556:features"},
        // The command line's box wins over the environment's.
        {{"-s", "emulator-5554", "shell", "true"}, "emulator-5556", "host:transport:emulator-5554", "shell:true",
         "host-serial:emulator-5554:features"},
        {{"shell", "true"}, "0123", "host:transport:0123", "shell:true", "host-serial:0123:features"},
        {{"-s", "", "shell", "true"}, nullptr, std::nullopt, std::nullopt},
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
            EXPECT_EQ(plan->features, c.features);
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
