#pragma once
// The chip tool /mnt/sdcard/eMMC: its switches and the operations behind them.

#include "ShellContext.h"
#include "Transfer.h"

#include <string>
#include <utility>
#include <vector>

namespace box::dev {

// "/KEY:VALUE" switches in the order given; keys are upper-cased.
using Switches = std::vector<std::pair<std::string, std::string>>;

Switches ParseSwitches(const Args& args, size_t first);
const std::string* FindSwitch(const Switches& switches, const std::string& key);

int ChipInfo(ShellContext& ctx);
int ConfigureBoot(ShellContext& ctx, const Switches& switches);
int ReadWriteData(ShellContext& ctx, const Switches& switches);
int ReadUserToMaster(ShellContext& ctx);
int MtxToMaster(ShellContext& ctx);

// Progress lines "LABEL: N%" each time another `step` per cent is done.
class PercentLines {
public:
    PercentLines(ShellContext& ctx, std::string label, uint64_t total, int step);
    bool operator()(uint64_t done);

private:
    ShellContext& ctx_;
    std::string label_;
    uint64_t total_;
    int step_;
    int shown_ = 0;
};

// Keeps the master store's two files, image and description, together.
bool CommitMaster(const ShellContext& ctx, const std::filesystem::path& temp, const std::string& source);

}  // namespace box::dev
