// Two boxes attached to one host: two korvald-box instances under one adb
// server.  Every command line goes through the program's runner and the
// adb/kz_daemon adapter, with adb's -s in front as a script that drives
// several boxes puts it; each box must answer for itself only.

#include "BoxFixture.h"
#include "board/core/BoardCommands.h"
#include "device/AdbRunner.h"
#include "platform/ProgramDir.h"

#include <gtest/gtest.h>

#include <QString>
#include <array>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

namespace fs = std::filesystem;

std::string Adb(const std::string& command)
{
    QString output;
    EXPECT_TRUE(RunAdbCommand(QString::fromStdString(command), output)) << command;
    return output.toStdString();
}

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

std::string ReadStart(const fs::path& file, std::size_t size)
{
    std::string text(size, '\0');
    std::ifstream in(file, std::ios::binary);
    in.read(text.data(), std::streamsize(size));
    text.resize(std::size_t(in.gcount()));
    return text;
}

class TwoBoxes : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        kz::SetProgramDirectoryForTests(QString(KZ_BIN_DIR));
        fixture = new e2e::BoxFixture;
        std::string error;
        // The ports of the first two boxes a host sees: emulator-5554 and -5556.
        if (!fixture->StartBoxes(error, {{5555, ""}, {5557, ""}}))
            startError = error;
    }

    static void TearDownTestSuite()
    {
        delete fixture;
        fixture = nullptr;
        kz::SetProgramDirectoryForTests(QString());
    }

    void SetUp() override { ASSERT_TRUE(startError.empty()) << startError; }

    static e2e::SimulatedBox& Box(std::size_t i) { return fixture->Box(i); }
    static std::string On(std::size_t i, const std::string& command) { return "-s " + Box(i).Serial() + " " + command; }
    static fs::path SdCard(std::size_t i) { return Box(i).StateDir() / "sdcard"; }

    // Each chip's first boot partition starts with its box's name, so a read
    // routed to the wrong box shows in the file's first bytes.
    static void MarkBootPartitions()
    {
        for (std::size_t i = 0; i < 2; ++i) {
            std::fstream chip(Box(i).StateDir() / "chip" / "boot1.img", std::ios::in | std::ios::out | std::ios::binary);
            chip << Marker(i);
        }
    }
    static std::string Marker(std::size_t i) { return "boot1 of " + Box(i).Serial(); }

    // Box i holds `name` read from its own chip, and the other box has no such file.
    static void ExpectOwnRead(std::size_t i, const std::string& name)
    {
        const fs::path own = SdCard(i) / name;
        ASSERT_TRUE(fs::exists(own)) << own;
        EXPECT_EQ(fs::file_size(own), 4u << 20);
        EXPECT_EQ(ReadStart(own, Marker(i).size()), Marker(i));
        EXPECT_FALSE(fs::exists(SdCard(1 - i) / name)) << name << " also on " << Box(1 - i).Serial();
    }

    static e2e::BoxFixture* fixture;
    static std::string startError;
};

e2e::BoxFixture* TwoBoxes::fixture = nullptr;
std::string TwoBoxes::startError;

TEST_F(TwoBoxes, DevicesListsBoth)
{
    const std::string list = Adb("devices");
    EXPECT_EQ(list.rfind("List of devices attached \r\n", 0), 0u) << list;
    EXPECT_TRUE(Contains(list, "emulator-5554\tdevice\r\n")) << list;
    EXPECT_TRUE(Contains(list, "emulator-5556\tdevice\r\n")) << list;
}

TEST_F(TwoBoxes, EachSerialReachesItsOwnBox)
{
    // push is left to adb, a plain shell is run by the adapter itself: -s
    // must steer both.
    const std::string local = ::testing::TempDir() + "kz_two_boxes.txt";
    std::ofstream(local) << "for one box\n";
    for (std::size_t i = 0; i < 2; ++i) {
        const std::string name = "only-" + Box(i).Serial() + ".txt";
        const std::string pushed = Adb(On(i, "push " + local + " /mnt/sdcard/" + name));
        EXPECT_FALSE(Contains(pushed, "error")) << pushed;
    }
    for (std::size_t i = 0; i < 2; ++i) {
        const std::size_t other = 1 - i;
        const std::string listing = Adb(On(i, "shell ls /mnt/sdcard"));
        EXPECT_TRUE(Contains(listing, "only-" + Box(i).Serial() + ".txt")) << listing;
        EXPECT_FALSE(Contains(listing, "only-" + Box(other).Serial() + ".txt")) << listing;
        EXPECT_TRUE(fs::exists(SdCard(i) / ("only-" + Box(i).Serial() + ".txt")));
        EXPECT_FALSE(fs::exists(SdCard(i) / ("only-" + Box(other).Serial() + ".txt")));
        Adb(On(i, "shell rm /mnt/sdcard/only-" + Box(i).Serial() + ".txt"));
    }
    fs::remove(local);
}

TEST_F(TwoBoxes, ParallelBootReadsEachLandOnTheirOwnBox)
{
    MarkBootPartitions();
    std::array<std::string, 2> outputs;
    std::array<std::thread, 2> readers;
    for (std::size_t i = 0; i < 2; ++i) {
        readers[i] = std::thread([&outputs, i] {
            const QString read = kz::board::ReadBootCommand(1, QString::fromStdString("b-" + Box(i).Serial() + ".bin"));
            outputs[i] = Adb(On(i, read.toStdString()));
        });
    }
    for (std::thread& reader : readers)
        reader.join();
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_TRUE(Contains(outputs[i], "Complete successfully")) << outputs[i];
        ExpectOwnRead(i, "b-" + Box(i).Serial() + ".bin");
    }
}

TEST_F(TwoBoxes, FirstCommandAfterTheServerWasStoppedReachesTheBoxNamed)
{
    // The restarted server lists the boxes as each registers again; the
    // command must wait for its own box, not for the first one listed.
    EXPECT_EQ(Adb("kill-server"), "");
    const std::string answer = Adb(On(1, "shell getprop ro.product.model"));
    EXPECT_TRUE(Contains(answer, "daemon started successfully")) << answer;
    EXPECT_TRUE(Contains(answer, "imx51_bbg")) << answer;
    for (std::size_t i = 0; i < 2; ++i)
        ASSERT_TRUE(fixture->Server().WaitForState(Box(i).Serial(), "device"));
}

#ifdef KZ_CLI_PATH
TEST_F(TwoBoxes, TwoScriptsReadTheirOwnBoxesAtOnce)
{
    MarkBootPartitions();
    const std::string cli = e2e::ShellQuote(KZ_CLI_PATH);
    const std::string script = cli + " --serial emulator-5554 read-boot 1 a.bin & a=$!; " + cli +
                               " --serial emulator-5556 read-boot 1 b.bin & b=$!; "
                               "wait $a; first=$?; wait $b; echo \"exit $first $?\"";
    const e2e::CommandResult result = e2e::RunCommand("sh -c " + e2e::ShellQuote(script), 60);
    EXPECT_TRUE(Contains(result.output, "exit 0 0")) << result.output;
    ExpectOwnRead(0, "a.bin");
    ExpectOwnRead(1, "b.bin");
}

TEST_F(TwoBoxes, TheCliWithoutASerialRefusesNamingBoth)
{
    const e2e::CommandResult result = e2e::RunCommand(e2e::ShellQuote(KZ_CLI_PATH) + " read-boot 1 unnamed.bin");
    EXPECT_NE(result.exitCode, 0);
    EXPECT_TRUE(Contains(result.output, "emulator-5554")) << result.output;
    EXPECT_TRUE(Contains(result.output, "emulator-5556")) << result.output;
    for (std::size_t i = 0; i < 2; ++i)
        EXPECT_FALSE(fs::exists(SdCard(i) / "unnamed.bin"));
}
#endif

TEST_F(TwoBoxes, WithoutAnAttachedBoxNamedTheClientRefuses)
{
    struct Case {
        std::string command;
        std::string output;  // whole, byte for byte
    };
    const std::string local = (fs::path(KZ_BIN_DIR) / "korvald-box").string();
    const Case cases[] = {
        {"shell true", "error: more than one device and emulator\r\n"},
        {"shell \"cd /mnt/sdcard && ls\"", "error: more than one device and emulator\r\n"},
        {"-s emulator-5558 shell true", "error: device 'emulator-5558' not found\r\n"},
        {"-s emulator-5558 push " + local + " /mnt/sdcard",
         "adb: error: failed to get feature set: device 'emulator-5558' not found\r\n"},
        {"push " + local + " /mnt/sdcard",
         "adb: error: failed to get feature set: more than one device and emulator\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Adb(c.command), c.output) << c.command;
}

}  // namespace
