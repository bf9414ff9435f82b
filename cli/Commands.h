#pragma once
// The commands of the tool, one function each, grouped in files by the
// window whose operations they run.  Each returns the exit code.

#include "cli/Session.h"

namespace kz::cli {

using CommandRun = int (*)(Session& session);

// The function for a command of the table; null for none.
CommandRun FindRun(const CommandSpec& command);

// The main window's own operations (DeviceOps.cpp).
int RunDevices(Session& session);
int RunInfo(Session& session);
int RunMount(Session& session);
int RunReboot(Session& session);

// The file manager's (FileOps.cpp, CopyOp.cpp).
int RunLs(Session& session);
int RunRm(Session& session);
int RunMv(Session& session);
int RunCopy(Session& session);

// The transfer window's (TransferOps.cpp).
int RunPush(Session& session);
int RunPull(Session& session);

// The board dialog's (BoardOps.cpp).
int RunReadBoot(Session& session);
int RunWriteBoot(Session& session);
int RunReadUser(Session& session);
int RunWriteUser(Session& session);
int RunConfig(Session& session);

// The master dialogs' (MasterOps.cpp).
int RunReadUserMaster(Session& session);
int RunMtx(Session& session);

}  // namespace kz::cli
