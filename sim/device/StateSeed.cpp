// Lays out a state directory and, when it is new, fills it with what a demo
// needs: chip and stick inserted, an MTX master and a few files of various
// sizes (one above 2 GiB, one with a blank in its name) on the stick.

#include "BoxState.h"
#include "MtxFile.h"

#include <fcntl.h>
#include <fstream>
#include <stdexcept>
#include <unistd.h>

namespace box::dev {
namespace fs = std::filesystem;
namespace {

void MakeDir(const fs::path& dir)
{
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec)
        throw std::runtime_error("cannot create " + dir.string() + ": " + ec.message());
}

void WriteText(const fs::path& file, const std::string& text)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out.write(text.data(), static_cast<std::streamsize>(text.size())))
        throw std::runtime_error("cannot write " + file.string());
}

// A file of the given size that holds `head` at its start and holes after it.
void WriteSparse(const fs::path& file, uint64_t size, const std::string& head)
{
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT, 0644);
    bool ok = fd >= 0 && ::ftruncate(fd, static_cast<off_t>(size)) == 0;
    if (ok && !head.empty())
        ok = ::pwrite(fd, head.data(), head.size(), 0) == static_cast<ssize_t>(head.size());
    if (fd >= 0)
        ::close(fd);
    if (!ok)
        throw std::runtime_error("cannot create " + file.string());
}

void EnsureSized(const fs::path& file, uint64_t size)
{
    std::error_code ec;
    if (!fs::exists(file, ec) || fs::file_size(file, ec) != size)
        WriteSparse(file, size, {});
}

std::string Pattern(size_t size, char seed)
{
    std::string s(size, '\0');
    for (size_t i = 0; i < size; ++i)
        s[i] = static_cast<char>(seed + (i * 7 + i / 251) % 61);
    return s;
}

void SeedStick(const fs::path& udisk, const SimConfig& config)
{
    std::vector<MtxPiece> pieces;
    for (MtxPiece p : {MtxPiece{0, "KZ master partition table\n" + Pattern(4000, 'a')},
                       MtxPiece{1ull << 20, Pattern(64 << 10, 'A')},
                       MtxPiece{config.userBytes / 2, Pattern(16 << 10, '0')}})
        if (p.offset + p.bytes.size() <= config.userBytes)
            pieces.push_back(p);
    if (!WriteMtxFile(udisk / "MT29F16G.img.mtx", config.userBytes, pieces))
        throw std::runtime_error("cannot write the example MTX file");
    WriteText(udisk / "readme.txt", "Files for the simulated KORVALD box.\n");
    WriteText(udisk / "boot.img", Pattern(1 << 20, 'B'));
    WriteSparse(udisk / "system.img", 256ull << 20, Pattern(4096, 'S'));
    WriteSparse(udisk / "backup 2G5.bin", (5ull << 30) / 2, Pattern(4096, 'K'));
}

void SeedScenario(const fs::path& stateDir, const SimConfig& config)
{
    Scenario s;
    s.chipInserted = config.chipInserted;
    s.udiskInserted = config.udiskInserted;
    if (!SaveScenario(stateDir / "scenario.json", s))
        throw std::runtime_error("cannot write the scenario file");
}

void PrepareChip(const fs::path& chipDir, const SimConfig& config)
{
    const fs::path configFile = chipDir / "config.json";
    std::string error;
    auto chip = LoadChipConfig(configFile, error);
    if (!fs::exists(configFile)) {
        chip = NewChipConfig(config);
        if (!SaveChipConfig(configFile, *chip))
            throw std::runtime_error("cannot write " + configFile.string());
    } else if (!chip) {
        throw std::runtime_error(error);
    }
    EnsureSized(chipDir / "boot1.img", chip->PartitionBytes("BOOT1"));
    EnsureSized(chipDir / "boot2.img", chip->PartitionBytes("BOOT2"));
    EnsureSized(chipDir / "user.img", chip->PartitionBytes("USER"));
}

}  // namespace

void PrepareStateDir(const fs::path& stateDir, const SimConfig& config)
{
    const bool fresh = !fs::exists(stateDir / "scenario.json");
    for (const char* dir : {"sdcard", "udisk", "data/bin", "data/dalvik-cache", "chip", "master"})
        MakeDir(stateDir / dir);
    if (!fs::exists(stateDir / "sdcard" / "eMMC"))
        WriteText(stateDir / "sdcard" / "eMMC", "#!/system/bin/sh\n# chip tool of the simulated box\n");
    if (!fs::exists(stateDir / "sdcard" / "busybox"))
        WriteText(stateDir / "sdcard" / "busybox", "#!/system/bin/sh\n# busybox of the simulated box\n");
    PrepareChip(stateDir / "chip", config);
    if (!fresh)
        return;
    SeedStick(stateDir / "udisk", config);
    SeedScenario(stateDir, config);
}

}  // namespace box::dev
