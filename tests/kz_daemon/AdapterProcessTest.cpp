// The adapter as a process, in front of fake adb scripts.
#include "ProcessHarness.h"
#include "ScriptedServer.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <sys/wait.h>

using namespace kz::adapter::test;
using namespace std::chrono_literals;

namespace {

// Every run sees a running "server", so only the fake adb's own command runs.
class AdapterProcess : public ::testing::Test
{
protected:
    void SetUp() override { serverPort_ = std::to_string(server_.Port()); }

    // Runs the adapter with `body` as the fake adb.
    Result RunWith(const std::string& body, const std::vector<std::string>& args = {"devices"},
                   LaunchOptions options = {})
    {
        options.env["ADB"] = dir_.Script("adb", body);
        options.env["ANDROID_ADB_SERVER_PORT"] = serverPort_;
        std::vector<std::string> argv{AdapterPath()};
        argv.insert(argv.end(), args.begin(), args.end());
        return RunProcess(argv, options);
    }

    std::unique_ptr<Launched> LaunchWith(const std::string& body, LaunchOptions options = {})
    {
        options.env["ADB"] = dir_.Script("adb", body);
        options.env["ANDROID_ADB_SERVER_PORT"] = serverPort_;
        return std::make_unique<Launched>(std::vector<std::string>{AdapterPath(), "shell", "x"}, options);
    }

    TempDir dir_;
    ServerStandIn server_;
    std::string serverPort_;
};

int ExitCode(int status)
{
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

TEST_F(AdapterProcess, SuccessIsRewrittenAndArgumentsArriveUnchanged)
{
    const Result r = RunWith("printf '%s|' \"$@\"; printf '\\nList of devices attached\\nemulator-5554\\tdevice\\n\\n'",
                             {"shell", "cd /mnt/sdcard && ./eMMC /READ_BOOT1:'my file'", ""});
    EXPECT_EQ(r.output, "shell|cd /mnt/sdcard && ./eMMC /READ_BOOT1:'my file'||\r\n"
                        "List of devices attached \r\nemulator-5554\tdevice\r\n\r\n");
    EXPECT_EQ(ExitCode(r.status), 0);
}

TEST_F(AdapterProcess, ErrorGoesToStdoutInOrderWithItsExitCode)
{
    // The harness throws the adapter's own standard error away, so the error
    // text only counts when it was merged into standard output.
    const Result r = RunWith("echo before; echo 'error: no devices/emulators found' >&2; echo after; exit 1");
    EXPECT_EQ(r.output, "before\r\nerror: device not found\r\nafter\r\n");
    EXPECT_EQ(ExitCode(r.status), 1);
    EXPECT_EQ(ExitCode(RunWith("exit 42").status), 42);
}

TEST_F(AdapterProcess, CrashOfAdbIsPassedOnAsTheSameSignal)
{
    const Result r = RunWith("echo partial; kill -SEGV $$");
    EXPECT_EQ(r.output, "partial\r\n");
    ASSERT_TRUE(WIFSIGNALED(r.status));
    EXPECT_EQ(WTERMSIG(r.status), SIGSEGV);
    EXPECT_FALSE(WCOREDUMP(r.status));
}

TEST_F(AdapterProcess, AdbIsNamedByAdbElseFoundOnPath)
{
    LaunchOptions missing;
    missing.env["ADB"] = dir_.Path() + "/no-such-adb";
    missing.env["ANDROID_ADB_SERVER_PORT"] = serverPort_;
    const Result r = RunProcess({AdapterPath(), "devices"}, missing);
    EXPECT_EQ(ExitCode(r.status), 127);
    EXPECT_NE(r.output.find("not found"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("apt-get install adb"), std::string::npos) << r.output;
    EXPECT_EQ(std::count(r.output.begin(), r.output.end(), '\n'), 1);

    LaunchOptions onPath;
    onPath.env["ADB"] = std::nullopt;
    onPath.env["PATH"] = dir_.Path();
    onPath.env["ANDROID_ADB_SERVER_PORT"] = serverPort_;
    EXPECT_EQ(ExitCode(RunProcess({AdapterPath(), "devices"}, onPath).status), 127);
    dir_.Script("adb", "echo found on path");
    EXPECT_EQ(RunProcess({AdapterPath()}, onPath).output, "found on path\r\n");
}

TEST_F(AdapterProcess, OutputStreamsBeforeAdbEnds)
{
    auto p = LaunchWith("echo first; sleep 1; echo second");
    EXPECT_EQ(p->ReadUntil("first\r\n", 700ms), "first\r\n");
    EXPECT_EQ(ExitCode(p->Finish()), 0);
    EXPECT_EQ(p->Output(), "first\r\nsecond\r\n");
}

TEST_F(AdapterProcess, HeldBackTailIsReleasedWhenAdbPauses)
{
    // "n" could start "no devices/emulators found"; it must not wait for the
    // next line, nor does an unfinished line.
    auto p = LaunchWith("printf 'step 1 done n'; sleep 1; printf 'ext\\n'");
    EXPECT_EQ(p->ReadUntil("done n", 700ms), "step 1 done n");
    EXPECT_EQ(ExitCode(p->Finish()), 0);
    EXPECT_EQ(p->Output(), "step 1 done next\r\n");
}

TEST_F(AdapterProcess, DeviceListFramesPassThroughUnchangedAsTheyCome)
{
    // A "length" counts the line feeds: a CR added to them would shift every
    // later frame.  The second list comes only after a pause.
    LaunchOptions options;
    options.env["ADB"] = dir_.Script("adb", "printf '0015emulator-5554\\tdevice\\n'; sleep 1; printf '0000'");
    options.env["ANDROID_ADB_SERVER_PORT"] = serverPort_;
    Launched p({AdapterPath(), "track-devices"}, options);
    EXPECT_EQ(p.ReadUntil("\n", 700ms), "0015emulator-5554\tdevice\n");
    EXPECT_EQ(ExitCode(p.Finish()), 0);
    EXPECT_EQ(p.Output(), "0015emulator-5554\tdevice\n0000");
}

TEST_F(AdapterProcess, MissingAdbIsNotWrittenIntoTheDeviceListStream)
{
    LaunchOptions options;
    options.env["ADB"] = dir_.Path() + "/no-such-adb";
    options.env["ANDROID_ADB_SERVER_PORT"] = serverPort_;
    const Result r = RunProcess({AdapterPath(), "track-devices"}, options);
    EXPECT_EQ(r.output, "");
    EXPECT_EQ(ExitCode(r.status), 127);
}

TEST_F(AdapterProcess, StandardInputIsLeftToAdb)
{
    LaunchOptions options;
    options.stdinText = "hello\n";
    const Result r = RunWith("read line; echo \"got $line\"", {"shell"}, options);
    EXPECT_EQ(r.output, "got hello\r\n");
}

TEST_F(AdapterProcess, BackgroundChildHoldingThePipeDoesNotDelayTheEnd)
{
    // Like an adb server forked by the client, the sleeper keeps adb's output
    // open long after adb itself has ended; the chatter keeps writing to it.
    const Result quiet = RunWith("sleep 5 & echo started");
    EXPECT_EQ(quiet.output, "started\r\n");
    EXPECT_LT(quiet.seconds, 2.5);
    const Result chatty = RunWith("(while :; do echo chatter; done) & sleep 0.2; echo started; exit 3");
    EXPECT_NE(chatty.output.find("started\r\n"), std::string::npos);
    EXPECT_EQ(ExitCode(chatty.status), 3);
    EXPECT_LT(chatty.seconds, 2.5);
}

TEST_F(AdapterProcess, ChildStartsWithCleanSignalState)
{
    LaunchOptions options;
    options.hostileSignals = true;
    // Signals 32 and 33 belong to the C library, which no program can use and
    // which glibc's posix_spawn leaves ignored; every other bit must be clear.
    // Read with builtins only: while the shell forks a command, it blocks
    // every signal for a moment, which the command could see.
    const Result r = RunWith("while read -r line; do case $line in SigBlk*|SigIgn*) echo \"$line\";; esac; "
                             "done < /proc/$$/status",
                             {"shell"}, options);
    unsigned long long blocked = ~0ULL;
    unsigned long long ignored = ~0ULL;
    ASSERT_EQ(std::sscanf(r.output.c_str(), "SigBlk: %llx SigIgn: %llx", &blocked, &ignored), 2) << r.output;
    EXPECT_EQ(blocked, 0u);
    EXPECT_EQ(ignored & ~0x180000000ULL, 0u);
}

TEST(AdapterRefusal, TheServersRefusalOfTheBoxIsPrintedAsAdbPrintsIt)
{
    // The fake adb only shows whether the command was left to it.
    struct Case {
        std::vector<std::string> args;
        std::vector<std::string> replies;  // features query, then transport switch
        std::string output;
    };
    const std::string features = "OKAY0000";
    const Case cases[] = {
        {{"shell", "true"}, {FailAnswer("more than one device/emulator")},
         "error: more than one device and emulator\r\n"},
        {{"shell", "true"}, {FailAnswer("no devices/emulators found")}, "error: device not found\r\n"},
        {{"-s", "emulator-5558", "shell", "true"}, {FailAnswer("device 'emulator-5558' not found")},
         "error: device 'emulator-5558' not found\r\n"},
        {{"-s", "emulator-5556", "shell", "true"}, {features, FailAnswer("device offline")},
         "error: device offline\r\n"},
        {{"-s", "emulator-5556", "shell", "true"},
         {FailAnswer("device unauthorized.\nThis adb server's $ADB_VENDOR_KEYS is not set\n")},
         "error: device unauthorized.\r\nThis adb server's $ADB_VENDOR_KEYS is not set\r\n\r\n"},
        // No whole answer: adb says what went wrong.
        {{"shell", "true"}, {"FAIL0030more than"}, "adb ran\r\n"},
        {{"shell", "true"}, {features, ""}, "adb ran\r\n"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        ScriptedServer server(c.replies);
        LaunchOptions options;
        options.env["ADB"] = dir.Script("adb", "echo adb ran; exit 3");
        options.env["ANDROID_ADB_SERVER_PORT"] = std::to_string(server.Port());
        options.env["ANDROID_SERIAL"] = std::nullopt;
        std::vector<std::string> argv{AdapterPath()};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        const Result r = RunProcess(argv, options);
        EXPECT_EQ(r.output, c.output) << c.replies.back();
        EXPECT_EQ(ExitCode(r.status), c.output == "adb ran\r\n" ? 3 : 1) << c.replies.back();
    }
}

class AdapterStopRequest : public AdapterProcess, public ::testing::WithParamInterface<int>
{
};

TEST_P(AdapterStopRequest, IsForwardedToAdb)
{
    LaunchOptions options;
    options.hostileSignals = true;  // the adapter must not depend on what it inherited
    auto p = LaunchWith("trap 'echo stopping; exit 7' TERM INT; echo ready; while :; do sleep 0.05; done", options);
    ASSERT_EQ(p->ReadUntil("ready\r\n", 2s), "ready\r\n");
    kill(p->Pid(), GetParam());
    const int status = p->Finish();
    EXPECT_EQ(p->Output(), "ready\r\nstopping\r\n");
    EXPECT_EQ(ExitCode(status), 7);
}

TEST_P(AdapterStopRequest, AdbEndedByItEndsTheAdapterTheSameWay)
{
    auto p = LaunchWith("echo ready; exec sleep 10");
    ASSERT_EQ(p->ReadUntil("ready\r\n", 2s), "ready\r\n");
    kill(p->Pid(), GetParam());
    const int status = p->Finish();
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), GetParam());
}

INSTANTIATE_TEST_SUITE_P(TermAndInt, AdapterStopRequest, ::testing::Values(SIGTERM, SIGINT));
