// /READ_WRITE_DATA: moves bytes between files on the box and the chip's boot
// partitions or user area.

#include "ChipTool.h"
#include "StorageSpace.h"
#include "UniqueFd.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <unistd.h>

namespace box::dev {
namespace fs = std::filesystem;
namespace {

struct DataJob {
    bool toFile = false;     // chip -> file
    std::string partition;   // BOOT1, BOOT2 or USER
    std::string file;        // as the command named it
    uint64_t chipOffset = 0;
    std::optional<uint64_t> length;  // user-area reads only
};

// "100MB", "2G", "512K", "7B"; a bare number counts in MB.
std::optional<uint64_t> ParseAmount(const std::string& text)
{
    size_t i = 0;
    uint64_t n = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) && n < (1ull << 40))
        n = n * 10 + static_cast<uint64_t>(text[i++] - '0');
    if (i == 0 || i > 12)
        return std::nullopt;
    std::string unit;
    for (; i < text.size(); ++i)
        unit += static_cast<char>(std::toupper(static_cast<unsigned char>(text[i])));
    if (unit == "B")
        return n;
    if (unit == "K" || unit == "KB")
        return n << 10;
    if (unit.empty() || unit == "M" || unit == "MB")
        return n << 20;
    if (unit == "G" || unit == "GB")
        return n << 30;
    return std::nullopt;
}

std::optional<DataJob> ParseJob(const Switches& sw, std::string& error)
{
    std::vector<DataJob> jobs;
    for (const char* p : {"BOOT1", "BOOT2"}) {
        if (auto* f = FindSwitch(sw, std::string("READ_") + p))
            jobs.push_back({true, p, *f, 0, std::nullopt});
        if (auto* f = FindSwitch(sw, std::string("WRITE_") + p))
            jobs.push_back({false, p, *f, 0, std::nullopt});
    }
    if (auto* f = FindSwitch(sw, "READ_USER_AREA")) {
        const std::string* size = FindSwitch(sw, "READ_USER_AREA_SIZE");
        const auto amount = size ? ParseAmount(*size) : std::nullopt;
        if (!amount || *amount == 0) {
            error = "error: /READ_USER_AREA_SIZE: wants a size such as 100MB";
            return std::nullopt;
        }
        jobs.push_back({true, "USER", *f, 0, amount});
    }
    if (auto* f = FindSwitch(sw, "WRITE_USER_AREA")) {
        const std::string* start = FindSwitch(sw, "WRITE_USER_AREA_S");
        const auto offset = start ? ParseAmount(*start) : std::nullopt;
        if (!offset) {
            error = "error: /WRITE_USER_AREA_S: wants a start address such as 16MB";
            return std::nullopt;
        }
        jobs.push_back({false, "USER", *f, *offset, std::nullopt});
    }
    if (jobs.size() != 1) {
        error = jobs.empty() ? "error: /READ_WRITE_DATA needs one of /READ_BOOT1: /READ_BOOT2: /WRITE_BOOT1: "
                               "/WRITE_BOOT2: /READ_USER_AREA: /WRITE_USER_AREA:"
                             : "error: /READ_WRITE_DATA takes one operation at a time";
        return std::nullopt;
    }
    if (jobs[0].file.empty()) {
        error = "error: no file name given";
        return std::nullopt;
    }
    return jobs[0];
}

std::string Bytes(uint64_t n)
{
    return std::to_string(n) + " bytes";
}

// Checks the file side and returns its host path, or an error text.
std::string CheckFile(const ShellContext& ctx, const DataJob& job, uint64_t length, fs::path& host)
{
    const Node node = ctx.Resolve(job.file);
    std::error_code ec;
    if (!job.toFile) {
        if (node.kind != NodeKind::Host || !fs::is_regular_file(node.host, ec))
            return "error: can't open " + job.file + ": " +
                   (node.kind == NodeKind::Host ? "Is a directory" : NodeError(node));
        host = node.host;
        return {};
    }
    if (node.kind == NodeKind::Escapes || node.host.empty() || !fs::is_directory(node.host.parent_path(), ec) ||
        fs::is_directory(node.host, ec))
        return "error: can't create " + job.file + ": " + NodeError(node);
    const auto space = SpaceOf(ctx.box, node);
    if (space && length > space->Available())
        return "error: can't create " + job.file + ": No space left on device";
    host = node.host;
    return {};
}

std::string CheckRange(const ShellContext& ctx, const DataJob& job, uint64_t length)
{
    const uint64_t size = ctx.box.Chip().PartitionBytes(job.partition);
    if (job.chipOffset > size || length > size - job.chipOffset) {
        if (job.partition != "USER")
            return "error: " + job.file + " (" + Bytes(length) + ") does not fit " + job.partition + " (" +
                   Bytes(size) + ")";
        return "error: address beyond the user area: " + Bytes(job.chipOffset) + " + " + Bytes(length) + " > " +
               Bytes(size);
    }
    return {};
}

std::string Transfer(ShellContext& ctx, const DataJob& job, const fs::path& file, uint64_t length)
{
    const fs::path image = ctx.box.ChipImage(job.partition);
    const UniqueFd fileFd(job.toFile ? ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0664)
                                     : ::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    const UniqueFd chipFd(::open(image.c_str(), (job.toFile ? O_RDONLY : O_WRONLY) | O_CLOEXEC));
    if (!fileFd.ok() || !chipFd.ok())
        return std::string("error: ") + std::strerror(errno);
    const uint64_t chunk = ChunkForSpeed(ctx.box.Speed());
    CopyRequest req{chipFd.get(), job.chipOffset, fileFd.get(), 0, length, true, chunk, UINT64_MAX};
    if (!job.toFile)
        req = {fileFd.get(), 0, chipFd.get(), job.chipOffset, length, false, chunk, UINT64_MAX};
    if (ctx.box.Fails(job.toFile ? "read" : "write"))
        req.failAfter = length / 2;
    Pacer pacer(ctx.box.Speed());
    PercentLines progress(ctx, job.partition, length, 10);
    std::string error = CopyRange(req, pacer, std::ref(progress));
    if (error.empty() && !job.toFile && length > 0 && ctx.box.Corrupts("write"))
        FlipByteAt(image, job.chipOffset + length / 2);
    if (!error.empty())
        error = "error: " + std::string(job.toFile ? "reading " : "writing ") + job.partition + ": " + error;
    return error;
}

}  // namespace

int ReadWriteData(ShellContext& ctx, const Switches& switches)
{
    std::string error;
    const auto job = ParseJob(switches, error);
    fs::path file;
    uint64_t length = 0;
    if (job) {
        std::error_code ec;
        length = job->length.value_or(job->toFile ? ctx.box.Chip().PartitionBytes(job->partition) : 0);
        if (!job->toFile) {
            error = CheckFile(ctx, *job, length, file);
            length = error.empty() ? fs::file_size(file, ec) : 0;
        }
        if (error.empty())
            error = CheckRange(ctx, *job, length);
        if (error.empty() && job->toFile)
            error = CheckFile(ctx, *job, length, file);
    }
    if (error.empty()) {
        ctx.out.Line(std::string(job->toFile ? "reading " : "writing ") + job->partition + " (" + Bytes(length) +
                     ")" + (job->toFile ? " into " : " from ") + job->file);
        error = Transfer(ctx, *job, file, length);
    }
    ctx.out.Line(error.empty() ? "Complete successfully" : error);
    return error.empty() ? 0 : 1;
}

}  // namespace box::dev
