#include "cli/Commands.h"

#include <cstring>

namespace kz::cli {

CommandRun FindRun(const CommandSpec& command)
{
    static const struct {
        const char* name;
        CommandRun run;
    } kRuns[] = {
        {"devices", RunDevices},       {"info", RunInfo},
        {"mount", RunMount},           {"reboot", RunReboot},
        {"ls", RunLs},                 {"rm", RunRm},
        {"mv", RunMv},                 {"copy", RunCopy},
        {"read-boot", RunReadBoot},    {"write-boot", RunWriteBoot},
        {"read-user", RunReadUser},    {"write-user", RunWriteUser},
        {"config", RunConfig},         {"read-user-master", RunReadUserMaster},
        {"mtx", RunMtx},               {"push", RunPush},
        {"pull", RunPull},
    };
    for (const auto& row : kRuns) {
        if (std::strcmp(command.name, row.name) == 0)
            return row.run;
    }
    return nullptr;
}

}  // namespace kz::cli
