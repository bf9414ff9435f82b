#pragma once
// Judgement of the answers to the main window's own device commands.

#include <QString>

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

struct RebootVerdict {
    bool ok = false;
    QString message;  // for a failure: message box text (English key), may be empty
    QString tip;      // for a failure: the box's answer for the log
};

RebootVerdict JudgeReboot(const QString& output);

}  // namespace kz
