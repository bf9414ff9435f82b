#pragma once
// Judgement of the answers to the main window's own device commands.

#include <QString>

#include "device/ClientAnswer.h"

namespace kz {

inline constexpr const char kMountCommand[] = "shell mount -t vfat /dev/block/sda1 /mnt/udisk";
inline constexpr const char kUmountCommand[] = "shell umount /mnt/udisk";
inline constexpr const char kRebootCommand[] = "shell reboot";
inline constexpr const char kDevicesCommand[] = "devices";
inline constexpr const char kModelCommand[] = "shell getprop ro.product.model";
inline constexpr const char kChipInfoCommand[] = "shell /mnt/sdcard/eMMC /emmc_info";
inline constexpr const char kKillServerCommand[] = "kill-server";

struct MountVerdict {
    enum Kind { Mounted, AlreadyMounted, Failed };
    Kind kind = Failed;
    QString tip;  // for Failed: the text of the tip entry under the headline
    bool ok() const { return kind != Failed; }
};

MountVerdict JudgeMount(const QString& output);
// A client that did not start mounted nothing, although it printed nothing;
// the tip then names the start failure.
MountVerdict JudgeMount(const ClientAnswer& answer);

struct RebootVerdict {
    bool ok = false;
    QString message;  // for a failure: message box text (English key), may be empty
    QString tip;      // for a failure: the box's answer for the log
};

RebootVerdict JudgeReboot(const QString& output);
// Not started: a failure without a message box of its own (the start
// failure has shown one), the start failure as the tip.
RebootVerdict JudgeReboot(const ClientAnswer& answer);

}  // namespace kz
