#pragma once
// Command lines of the board dialog and the judgement of their answers.
// Every file name goes between single quotes inside the one double-quoted
// shell argument; callers refuse names that would not survive that
// (kz::files::IsShellSafeName) before building a command.
// The file sources are the file manager's pick modes (SOURCE_USER_UDISK ...
// SOURCE_BOOT_SDCARD in files/core/FileManagerMode.h).

#include <QString>

namespace kz::board {

// The name a boot write sends: every letter in lower case, as the tool has
// always been given it (both storages are vfat, so the file is found).
QString BootWriteName(const QString& name);

// boot is 1 or 2.  The names are used as given; callers check them first.
QString ReadBootCommand(int boot, const QString& name);
QString WriteBootCommand(int boot, int source, const QString& name);
QString WriteUserAreaCommand(int source, const QString& name, int startMb);
QString ReadUserAreaCommand(const QString& name, int size, const QString& unit);

enum class BootSetting { PartitionEnable, Ack, Mode, BusWidth };
// index: the selected item of the setting's combo, -1 for none.  Empty when
// no value is selected: the tool must not be sent a value nobody chose.
QString ConfigureBootCommand(BootSetting setting, int index);

// Reads and writes succeed when the tool printed this marker anywhere.
bool IsTransferSuccess(const QString& output);
// Boot configuration wants the marker's full form "Complete successfully !!".
bool IsConfigureSuccess(const QString& output);

}  // namespace kz::board
