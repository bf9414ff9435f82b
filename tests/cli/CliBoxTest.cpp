// korvald-emmc-cli end to end: every command against the simulated box
// behind a private adb server, with its success and one failure each, its
// exit status, what it prints where, and its JSON read back.  One box serves
// the suite; a case that changes the box's scenario puts it back.

#include "BoxFixture.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <sys/wait.h>
#include <thread>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

struct CliRun {
    std::string out;
    std::string err;
    int code = -1;
};

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs `tool` with the words of `args` (split at blanks; "|" stands for a
// blank inside a word), standard error kept apart.
CliRun RunTool(const fs::path& tool, const std::string& args)
{
    std::string line = e2e::ShellQuote(tool.string());
    std::istringstream words(args);
    for (std::string word; words >> word;) {
        for (char& c : word)
            c = c == '|' ? ' ' : c;
        line += ' ' + e2e::ShellQuote(word);
    }
    CliRun run;
    const e2e::CommandResult result = e2e::RunCommand(line, 60, &run.err);
    run.out = result.output;
    run.code = result.exitCode;
    return run;
}

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

QJsonObject JsonLine(const std::string& line)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(line), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << line;
    return doc.object();
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

class CliBoxTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        box = new e2e::BoxFixture;
        std::string error;
        if (!box->Start(error, R"({"rebootDelayMs": 1500, "speed": 0, "readUserMs": 600, "mtkMs": 400})"))
            startError = error;
    }

    static void TearDownTestSuite()
    {
        delete box;
        box = nullptr;
    }

    void SetUp() override { ASSERT_TRUE(startError.empty()) << startError; }

    static CliRun Cli(const std::string& args) { return RunTool(fs::path(KZ_BIN_DIR) / "korvald-emmc-cli", args); }

    static void Ctl(const std::string& command)
    {
        if (!command.empty()) {
            ASSERT_EQ(box->Ctl(command), "ok") << command;
        }
    }

    static void WaitForBox()
    {
        ASSERT_TRUE(box->Server().WaitForState(box->Serial(), "device", 15s)) << box->BoxLog();
    }

    static e2e::BoxFixture* box;
    static std::string startError;
};

e2e::BoxFixture* CliBoxTest::box = nullptr;
std::string CliBoxTest::startError;

struct Case {
    const char* before;   // ctl command that sets the scene ("" for none)
    const char* args;
    int code;
    const char* out;      // expected on standard output ("" for anything)
    const char* err;      // expected on standard error ("" for nothing at all)
    const char* after;    // ctl command that puts the box back
};

void Check(const Case& c, const CliRun& run)
{
    EXPECT_EQ(run.code, c.code) << c.args << "\nout: " << run.out << "\nerr: " << run.err;
    EXPECT_TRUE(Contains(run.out, c.out)) << c.args << "\nout: " << run.out;
    if (*c.err) {
        EXPECT_TRUE(Contains(run.err, c.err)) << c.args << "\nerr: " << run.err;
    } else {
        EXPECT_EQ(run.err, "") << c.args;
    }
}

// In order: each success leaves what the next case uses (b1.bin, u.bin).
TEST_F(CliBoxTest, EveryCommandSucceedsAndFails)
{
    const Case kCases[] = {
        {"", "devices", 0, "\tdevice\timx51_bbg\n", "", ""},
        {"", "info", 0, "manufacturer: Samsung\nmanufacturerId: 0x15\n", "", ""},
        {"", "info --raw", 0, "Partition #4 (USER)", "", ""},
        {"remove-chip", "info", 1, "", "The chip is not detected, please placed chip and try again!", "insert-chip"},
        {"", "--serial emulator-1 info", 1, "", "No device found!\n", ""},
        {"", "mount", 0, "MountUdisk Successfully!\n", "", ""},
        {"remove-udisk", "mount", 1, "", "MountUdisk Failed!\nmount: No such file or directory\n", "insert-udisk"},
        {"", "ls udisk", 0, "  boot.img\n", "", ""},
        {"fail ls", "ls sdcard", 1, "", "/mnt/sdcard: Input/output error", "fail"},
        {"", "copy udisk:boot.img sdcard:boot-copy.img", 0, "Copy successfully!\n", "", ""},
        // Equal sizes, one byte flipped: only the checksums tell.
        {"corrupt cp", "copy udisk:readme.txt sdcard:r.txt", 1, "", "Copy failed!\n", "corrupt"},
        {"", "read-boot 1 b1.bin", 0, "Save Boot1 successfully!\n", "", ""},
        {"fail read", "read-boot 2 b2.bin", 1, "", "Save Boot2 failed!\n", "fail"},
        // The name goes in lower case, as the board dialog sends it.
        {"", "write-boot 1 sdcard:B1.BIN", 0, "Write Boot1 successfully!\n", "", ""},
        {"", "write-boot 2 udisk:missing.img", 1, "", "Write Boot2 failed!\n", ""},
        // The tool says it wrote; the partition read back says otherwise.
        {"corrupt write", "write-boot 2 sdcard:b1.bin", 1, "", "Write Boot2 failed!\n", "corrupt"},
        {"", "read-user u.bin --size 1 --unit MB", 0, "Read User successfully!\n", "", ""},
        {"fail read", "read-user u2.bin --size 1", 1, "", "Read User failed!\n", "fail"},
        {"", "write-user sdcard:u.bin --address 0x400", 0, "Write successfully!\n", "", ""},
        {"fail write", "write-user sdcard:u.bin --address 0x0", 1, "", "Write failed!\n", "fail"},
        {"", "config --ack on --bus-width 4", 0, "Set successfully!\n", "", ""},
        {"", "config --boot-partition user", 0, "Set successfully!\n", "", ""},
        {"fail configure", "config --mode high-speed", 1, "", "Set failed!\n", "fail"},
        {"", "mv sdcard:b1.bin renamed.bin", 0, "Rename successfully!\n", "", ""},
        {"", "mv sdcard:renamed.bin u.bin", 1, "", "A file with this name already exists. Replace it?", ""},
        {"", "rm sdcard:renamed.bin", 0, "Delete successfully!\n", "", ""},
        {"", "rm sdcard:renamed.bin", 1, "", "Delete failed!\nrm failed for", ""},
        {"", "read-user-master", 0, "READ_USER: 100%\n", "", ""},
        {"remove-chip", "read-user-master", 1, "", "The chip is not detected, please placed chip and try again!\nfailed\n",
         "insert-chip"},
        {"", "mtx", 0, "Master OK\nPASS\n", "", ""},
        {"fail mtk", "mtx", 1, "Input/output error", "failed\n", "fail"},
        {"unplug", "reboot", 1, "", "No device found!\nReboot Failed!\n", "plug"},
    };
    for (const Case& c : kCases) {
        Ctl(c.before);
        if (std::string(c.before) == "unplug") {
            ASSERT_TRUE(box->Server().WaitForState(box->Serial(), "", 10s));
        }
        Check(c, Cli(c.args));
        Ctl(c.after);
        if (std::string(c.after) == "plug")
            WaitForBox();
    }
    // The boot write was sent with the name in lower case.
    EXPECT_TRUE(Contains(ReadAll(box->StateDir() / "shell-commands.log"), "/WRITE_BOOT1:'b1.bin'"));
}

TEST_F(CliBoxTest, RebootIsTakenAndTheBoxComesBack)
{
    const CliRun run = Cli("reboot");
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "Reboot Successfully!\n");
    std::this_thread::sleep_for(500ms);
    WaitForBox();
}

// Bad input is refused with exit 2 before anything reaches the box.
TEST_F(CliBoxTest, UsageErrorsSendNothing)
{
    const fs::path log = box->StateDir() / "shell-commands.log";
    const std::string before = ReadAll(log);
    const Case kCases[] = {
        {"", "read-boot 3 x.bin", 2, "", "the boot partition is 1 or 2, not '3'", ""},
        {"", "rm udisk:../x", 2, "", "The new name can not contain '/' or be '.' or '..'!", ""},
        {"", "read-boot 1 a\"b", 2, "", "File name can not contain double quotes or control characters!", ""},
        {"", "read-user x --size 10001", 2, "", "File size is out of range,please enter again！", ""},
        {"", "write-user sdcard:x --address 400", 2, "", "Write address format is incorrect", ""},
        {"", "read-boot 1 |||", 2, "", "File name can not be empty, please enter again!", ""},
        {"", "mv sdcard:a b/c", 2, "", "The new name can not contain '/'", ""},
        {"", "config", 2, "", "config needs at least one of", ""},
        {"", "copy udisk:a udisk:b", 2, "", "copy goes from one storage into the other", ""},
        {"", "copy sdcard:a udisk:|||", 2, "", "File name can not be empty!", ""},
        {"", "copy-all", 2, "", "unknown command 'copy-all'\nTry 'korvald-emmc-cli --help'.", ""},
    };
    for (const Case& c : kCases)
        Check(c, Cli(c.args));
    EXPECT_EQ(ReadAll(log), before);
}

TEST_F(CliBoxTest, JsonIsOneRecordLinePerCommandOrStreamedLine)
{
    const std::string serial = box->Serial();
    const CliRun info = Cli("--json info");
    ASSERT_EQ(Lines(info.out).size(), 1u) << info.out;
    const QJsonObject chip = JsonLine(info.out);
    EXPECT_EQ(chip.value("kind").toString(), "chip");
    EXPECT_EQ(chip.value("serial").toString().toStdString(), serial);
    EXPECT_EQ(chip.value("chip").toObject().value("product").toString(), "KZ16G1");
    EXPECT_FALSE(chip.value("time").toString().isEmpty());

    const QJsonObject ls = JsonLine(Cli("ls udisk --json").out);
    QStringList names;
    for (const QJsonValue& file : ls.value("files").toArray()) {
        names << file.toObject().value("name").toString();
        if (names.last() == "backup 2G5.bin")  // listed with a negative size
            EXPECT_EQ(file.toObject().value("bytes").toInteger(), 5ll << 29);
    }
    EXPECT_TRUE(names.contains("backup 2G5.bin")) << names.join(',').toStdString();

    const QJsonObject copy = JsonLine(Cli("--json copy udisk:boot.img sdcard:json-copy.img").out);
    EXPECT_EQ(copy.value("kind").toString(), "success");
    EXPECT_EQ(copy.value("target").toString(), "json-copy.img");
    EXPECT_EQ(copy.value("sourceMd5").toString().size(), 32);
    EXPECT_EQ(copy.value("sourceMd5"), copy.value("targetMd5"));
    EXPECT_EQ(copy.value("verify").toString(), "md5");

    const CliRun failed = Cli("--json read-boot 1 ../b.bin");
    EXPECT_EQ(failed.code, 2);
    EXPECT_EQ(failed.out, "");
    Ctl("remove-udisk");
    const CliRun mount = Cli("mount --json");
    Ctl("insert-udisk");
    EXPECT_EQ(mount.code, 1);
    const QJsonObject m = JsonLine(mount.out);
    EXPECT_EQ(m.value("kind").toString(), "failure");
    EXPECT_EQ(m.value("key").toString(), "MountUdisk Failed!");
    EXPECT_EQ(m.value("tip").toString(), "mount: No such file or directory");
    EXPECT_EQ(mount.err, "");

    const CliRun master = Cli("--json read-user-master");
    EXPECT_EQ(master.code, 0) << master.err;
    const std::vector<std::string> lines = Lines(master.out);
    ASSERT_GE(lines.size(), 3u);
    for (size_t i = 0; i + 1 < lines.size(); ++i)
        EXPECT_EQ(JsonLine(lines[i]).value("kind").toString(), "info") << lines[i];
    EXPECT_EQ(JsonLine(lines[1]).value("operation").toString(), "read-user-master");
    const QJsonObject last = JsonLine(lines.back());
    EXPECT_EQ(last.value("kind").toString(), "success");
    EXPECT_EQ(last.value("serial").toString().toStdString(), serial);
}

// Files between this PC and the box: proved by both sums, and whatever goes
// wrong leaves neither a part file nor a changed target behind.
TEST_F(CliBoxTest, TransfersAreProvedAndLeaveNothingBehind)
{
    const fs::path pc = fs::temp_directory_path() / ("kz-cli-transfer-" + std::to_string(::getpid()));
    fs::create_directories(pc);
    const fs::path source = pc / "a b's.bin";
    std::ofstream(source, std::ios::binary) << std::string(3 << 20, 'k') << "tail";
    const fs::path sdcard = box->StateDir() / "sdcard";
    const std::string hostile = "-x 'q ü.bin";  // a blank, a quote, a leading dash, a non-ASCII letter
    const std::string local = std::regex_replace(source.string(), std::regex(" "), "|");  // RunTool's blank

    // Both ways under the hostile name, each proved by equal sums.
    const CliRun push = Cli("--json push " + local + " sdcard:-x|'q|ü.bin");
    ASSERT_EQ(push.code, 0) << push.out << push.err;
    const QJsonObject pushed = JsonLine(push.out);
    EXPECT_EQ(pushed.value("pcMd5").toString().size(), 32);
    EXPECT_EQ(pushed.value("pcMd5"), pushed.value("boxMd5"));
    EXPECT_EQ(ReadAll(sdcard / hostile), ReadAll(source));
    const CliRun pull = Cli("--json pull sdcard:-x|'q|ü.bin " + pc.string() + "/-y|ü|'r.bin");
    ASSERT_EQ(pull.code, 0) << pull.out << pull.err;
    EXPECT_EQ(JsonLine(pull.out).value("boxMd5"), pushed.value("pcMd5"));
    EXPECT_EQ(ReadAll(pc / "-y ü 'r.bin"), ReadAll(source));
    // The stick is mounted first and takes the file the same way.
    const CliRun stick = Cli("push " + local + " udisk:s.bin");
    EXPECT_EQ(stick.code, 0) << stick.err;
    EXPECT_EQ(ReadAll(box->StateDir() / "udisk" / "s.bin"), ReadAll(source));

    // One byte flipped on the way: the sums differ, the target never appears.
    Ctl("corrupt push");
    const CliRun corrupt = Cli("push " + local + " sdcard:c.bin");
    Ctl("corrupt");
    EXPECT_EQ(corrupt.code, 1);
    EXPECT_TRUE(Contains(corrupt.err, "Transfer failed!\nPC md5 ")) << corrupt.err;
    EXPECT_FALSE(fs::exists(sdcard / "c.bin"));
    EXPECT_FALSE(fs::exists(sdcard / ".c.bin.kz-part"));

    // The box goes away half-way through a pull: no file, no part file.
    Ctl("speed 4000000");
    std::thread unplug([] {
        std::this_thread::sleep_for(400ms);
        box->Ctl("unplug");
    });
    const CliRun cut = Cli("pull sdcard:-x|'q|ü.bin " + pc.string() + "/cut.bin");
    unplug.join();
    Ctl("plug");
    Ctl("speed 0");
    WaitForBox();
    EXPECT_EQ(cut.code, 1) << cut.err;
    EXPECT_FALSE(fs::exists(pc / "cut.bin"));
    EXPECT_FALSE(fs::exists(pc / ".cut.bin.kz-part"));

    // A full SD card: refused before a byte moves.
    {
        std::ofstream filler(sdcard / "filler.bin", std::ios::binary);
    }
    fs::resize_file(sdcard / "filler.bin", 8ull << 30);
    const CliRun full = Cli("--json push " + local + " sdcard:f.bin");
    fs::remove(sdcard / "filler.bin");
    EXPECT_EQ(full.code, 1);
    EXPECT_EQ(JsonLine(full.out).value("key").toString(), "Not enough disk!");
    EXPECT_FALSE(JsonLine(full.out).contains("transferMs")) << full.out;
    fs::remove_all(pc);
}

// Without its adb client beside it the tool says so and fails.
TEST(CliAlone, ClientThatCannotStartIsAFailure)
{
    const fs::path dir = fs::temp_directory_path() / ("kz-cli-alone-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    fs::copy_file(fs::path(KZ_BIN_DIR) / "korvald-emmc-cli", dir / "korvald-emmc-cli");
    const CliRun run = RunTool(dir / "korvald-emmc-cli", "--serial x reboot");
    const CliRun devices = RunTool(dir / "korvald-emmc-cli", "devices");
    fs::remove_all(dir);
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "Reboot Failed!\nCreateProcess Failed!\n");
    EXPECT_EQ(devices.code, 1);
    EXPECT_EQ(devices.err, "CreateProcess Failed!\n");
}

}  // namespace
