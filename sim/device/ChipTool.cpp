#include "ChipTool.h"

#include "AtomicFile.h"

#include <algorithm>
#include <cctype>
#include <nlohmann/json.hpp>

namespace box::dev {
namespace {

std::string Upper(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

const char* const kUsage =
    "usage: eMMC /emmc_info | /READ_USER | /MTK | /READ_WRITE_DATA /READ_BOOT1:FILE ... | "
    "/configure_boot /boot_partition_enable:N /boot_ack:On|Off /mode:N /bus_width:N";

}  // namespace

Switches ParseSwitches(const Args& args, size_t first)
{
    Switches out;
    for (size_t i = first; i < args.size(); ++i) {
        const std::string body = (!args[i].empty() && args[i][0] == '/') ? args[i].substr(1) : args[i];
        const size_t colon = body.find(':');
        out.emplace_back(Upper(body.substr(0, colon)), colon == std::string::npos ? "" : body.substr(colon + 1));
    }
    return out;
}

const std::string* FindSwitch(const Switches& switches, const std::string& key)
{
    for (const auto& [k, v] : switches)
        if (k == key)
            return &v;
    return nullptr;
}

PercentLines::PercentLines(ShellContext& ctx, std::string label, uint64_t total, int step)
    : ctx_(ctx), label_(std::move(label)), total_(total), step_(step)
{
}

bool PercentLines::operator()(uint64_t done)
{
    const int percent = total_ == 0 ? 100 : static_cast<int>(done * 100 / total_);
    if (percent >= shown_ + step_ && percent < 100) {
        shown_ = percent - percent % step_;
        return ctx_.out.Line(label_ + ": " + std::to_string(shown_) + "%");
    }
    return ctx_.out.Alive();
}

bool CommitMaster(const ShellContext& ctx, const std::filesystem::path& temp, const std::string& source)
{
    std::error_code ec;
    const uint64_t size = std::filesystem::file_size(temp, ec);
    std::filesystem::rename(temp, ctx.box.MasterImage(), ec);
    if (ec)
        return false;
    const nlohmann::json info{{"source", source}, {"bytes", size}};
    return WriteFileAtomically(ctx.box.MasterInfo(), info.dump(2) + "\n");
}

int RunChipTool(ShellContext& ctx, const Args& args)
{
    const std::string op = args.size() > 1 ? Upper(args[1]) : "";
    const Switches rest = ParseSwitches(args, 2);
    if (op == "/MTK")
        return MtxToMaster(ctx);
    if (op != "/EMMC_INFO" && op != "/READ_USER" && op != "/READ_WRITE_DATA" && op != "/CONFIGURE_BOOT") {
        ctx.out.Line(kUsage);
        return 1;
    }
    if (!ctx.box.ChipInserted()) {
        ctx.out.Line("No eMMC inside");
        return 1;
    }
    if (op == "/EMMC_INFO")
        return ChipInfo(ctx);
    if (op == "/READ_USER")
        return ReadUserToMaster(ctx);
    if (op == "/READ_WRITE_DATA")
        return ReadWriteData(ctx, rest);
    return ConfigureBoot(ctx, rest);
}

int ChipInfo(ShellContext& ctx)
{
    if (ctx.box.Fails("info")) {
        ctx.out.Line("error: reading EXT_CSD: Input/output error");
        return 1;
    }
    ctx.out.Print(ChipInfoReport(ctx.box.Chip()));
    return 0;
}

int ConfigureBoot(ShellContext& ctx, const Switches& switches)
{
    if (switches.empty()) {
        ctx.out.Line("error: /configure_boot needs a setting such as /boot_ack:On");
        return 1;
    }
    if (ctx.box.Fails("configure")) {
        ctx.out.Line("error: writing EXT_CSD: Input/output error");
        return 1;
    }
    const std::string complaint = ctx.box.EditChip([&](ChipConfig& chip) {
        for (const auto& [key, value] : switches) {
            std::string lowered = key;
            std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            std::string bad = ApplyBootSetting(chip.boot, lowered, value);
            if (!bad.empty())
                return bad;
        }
        return std::string();
    });
    if (!complaint.empty()) {
        ctx.out.Line(complaint);
        return 1;
    }
    ctx.out.Line("Complete successfully !!");
    return 0;
}

}  // namespace box::dev
