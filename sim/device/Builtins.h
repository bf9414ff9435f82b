#pragma once
// The built-in commands of the box's shell, one function each.

#include "ShellContext.h"

namespace box::dev {

int CmdLs(ShellContext& ctx, const Args& args);
int CmdCat(ShellContext& ctx, const Args& args);
int CmdCd(ShellContext& ctx, const Args& args);
int CmdPwd(ShellContext& ctx, const Args& args);
int CmdEcho(ShellContext& ctx, const Args& args);
int CmdTrue(ShellContext& ctx, const Args& args);
int CmdFalse(ShellContext& ctx, const Args& args);
int CmdSync(ShellContext& ctx, const Args& args);
int CmdRm(ShellContext& ctx, const Args& args);
int CmdMv(ShellContext& ctx, const Args& args);
int CmdChmod(ShellContext& ctx, const Args& args);
int CmdTouch(ShellContext& ctx, const Args& args);
int CmdMount(ShellContext& ctx, const Args& args);
int CmdUmount(ShellContext& ctx, const Args& args);
int CmdDf(ShellContext& ctx, const Args& args);
int CmdGetprop(ShellContext& ctx, const Args& args);
int CmdReboot(ShellContext& ctx, const Args& args);
int CmdMd5sum(ShellContext& ctx, const Args& args);
// busybox applets only (the box's own shell has no truncate).
int CmdTruncate(ShellContext& ctx, const Args& args);

// Splits leading "-xyz" options off; returns the letters seen.
std::string TakeFlags(const Args& args, size_t& first);

}  // namespace box::dev
