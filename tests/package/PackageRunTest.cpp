// The Debian package, unpacked as dpkg would install it, run against the
// simulated box: both programs through their links in usr/bin, each finding
// adb/kz_daemon, skins and language files in the program folder.

#include "BoxFixture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

const fs::path kRoot = fs::path(KZ_BIN_DIR).parent_path() / "tests" / "package-root";

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// Every record line written so far under dataHome.
std::string RecordText(const fs::path& dataHome)
{
    std::ostringstream text;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dataHome / "korvald-emmc" / "log", ec))
        text << std::ifstream(entry.path()).rdbuf();
    return text.str();
}

class UnpackedPackage : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        fs::remove_all(kRoot);
        const e2e::CommandResult unpacked = e2e::RunCommand(
            "dpkg-deb -x " + e2e::ShellQuote(KZ_PACKAGE_FILE) + " " + e2e::ShellQuote(kRoot.string()));
        fixture = new e2e::BoxFixture;
        if (unpacked.exitCode != 0)
            startError = "dpkg-deb -x " KZ_PACKAGE_FILE ": " + unpacked.output;
        else
            fixture->Start(startError);
    }

    static void TearDownTestSuite()
    {
        delete fixture;
        fixture = nullptr;
        fs::remove_all(kRoot);
    }

    void SetUp() override { ASSERT_TRUE(startError.empty()) << startError; }

    static std::string Cli(const std::string& arguments)
    {
        const e2e::CommandResult result = e2e::RunCommand(
            e2e::ShellQuote((kRoot / "usr/bin/korvald-emmc-cli").string()) + " --serial " + fixture->Serial() + " "
            + arguments);
        EXPECT_EQ(result.exitCode, 0) << arguments << ": " << result.output;
        return result.output;
    }

    static inline e2e::BoxFixture* fixture = nullptr;
    static inline std::string startError;
};

TEST_F(UnpackedPackage, HoldsWhatTheDesktopAndUdevLookFor)
{
    for (const char* file : {"usr/lib/udev/rules.d/60-korvald-emmc.rules", "usr/share/applications/korvald-emmc.desktop",
                             "usr/share/metainfo/example.korvald.emmc.metainfo.xml",
                             "usr/share/icons/hicolor/scalable/apps/korvald-emmc.svg",
                             "usr/share/man/man1/korvald-emmc.1.gz", "usr/share/man/man1/korvald-emmc-cli.1.gz",
                             "usr/share/doc/korvald-emmc/copyright", "usr/share/doc/korvald-emmc/changelog.gz"})
        EXPECT_TRUE(fs::is_regular_file(kRoot / file)) << file;
    std::ifstream entry(kRoot / "usr/share/applications/korvald-emmc.desktop");
    std::ostringstream text;
    text << entry.rdbuf();
    EXPECT_TRUE(Contains(text.str(), "\nExec=\"/usr/lib/korvald-emmc/korvald-emmc\"\n")) << text.str();
}

TEST_F(UnpackedPackage, CliReachesTheBoxThroughTheAdapterBesideIt)
{
    const std::string devices = Cli("devices");
    EXPECT_TRUE(Contains(devices, fixture->Serial() + "\tdevice\t")) << devices;
    const std::string listing = Cli("ls udisk");
    EXPECT_TRUE(Contains(listing, "readme.txt")) << listing;
}

// The window comes up offscreen, loads its skin and its language (Chinese,
// whose words show only when the language file was found), and mounts the
// stick of the box it finds: the day's record says so.
TEST_F(UnpackedPackage, ProgramMountsTheBoxOffscreen)
{
    const fs::path home = kRoot / "home";
    fs::create_directories(home / "runtime");
    fs::permissions(home / "runtime", fs::perms::owner_all);
    const std::string program = (kRoot / "usr/bin/korvald-emmc").string();
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::setpgid(0, 0);  // its adapter and adb clients go with it
        ::setenv("XDG_DATA_HOME", home.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", home.c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", (home / "runtime").c_str(), 1);
        ::setenv("LC_ALL", "zh_CN.UTF-8", 1);
        ::execl(program.c_str(), "korvald-emmc", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    fixture->Server().Guard(pid);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    std::string record;
    while (!Contains(record, "MountUdisk Successfully!") && std::chrono::steady_clock::now() < deadline
           && ::waitpid(pid, nullptr, WNOHANG) == 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        record = RecordText(home);
    }
    ::kill(-pid, SIGTERM);
    ::waitpid(pid, nullptr, 0);
    EXPECT_TRUE(Contains(record, "\"serial\":\"" + fixture->Serial() + "\"")) << record;
    EXPECT_TRUE(Contains(record, "\"text\":\"U盘挂载成功！\"")) << record;
}

}  // namespace
