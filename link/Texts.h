#pragma once
// English texts of the main window.  They double as the keys of the language
// files, so they must stay exactly as they are (spelling included).  The
// messages for the adb client's own errors live beside their judge.

#include "device/ClientTexts.h"

namespace kz::text {

inline constexpr const char Prompt[] = "Prompt";
inline constexpr const char Connected[] = "Connected";
inline constexpr const char Unconnected[] = "Unconnected";
inline constexpr const char ChipNotDetected[] = "The chip is not detected, please placed chip and try again!";
inline constexpr const char DeviceOfflineReboot[] =
    "Detects the current device is turned off, manually reboot the device and try again!";
inline constexpr const char DeviceSetAside[] = "Device has been set aside!";
inline constexpr const char MountOk[] = "MountUdisk Successfully!";
inline constexpr const char MountFailed[] = "MountUdisk Failed!";
inline constexpr const char NoUdisk[] = "mount: No such file or directory";
inline constexpr const char RebootOk[] = "Reboot Successfully!";
inline constexpr const char RebootFailed[] = "Reboot Failed!";
inline constexpr const char ConfirmMaster[] = "Are you sure to create master?!";
inline constexpr const char MtxHint[] =
    "copy MTxxx.img.mtx file to USB disk ,then plug USB disk into KORVALD ,launch KORVALD eMMC professional";
inline constexpr const char ChipInfoTitle[] = "eMMC Chip Information";
inline constexpr const char RecordUnwritable[] = "The log file can not be written!";
inline constexpr const char LogFolder[] = "log folder";

// The state line for each state adb lists, and what to do about it (%1 adb's
// words, %2 the command that installs the udev rule from a source tree).
inline constexpr const char StateOffline[] = "Offline";
inline constexpr const char StateUnauthorized[] = "Unauthorized";
inline constexpr const char StateNoPermissions[] = "No USB permission";
inline constexpr const char StateAuthorizing[] = "Authorizing";
inline constexpr const char StateConnecting[] = "Connecting";
inline constexpr const char StateRecovery[] = "Recovery mode";
inline constexpr const char StateSideload[] = "Sideload mode";
inline constexpr const char StateBootloader[] = "Bootloader mode";
inline constexpr const char StateHost[] = "Host";
inline constexpr const char StateUnknown[] = "Unknown state";
inline constexpr const char StateAdbMissing[] = "adb missing";
inline constexpr const char AdviceOffline[] = "adb lists the box as offline: plug it in again or restart the box.";
inline constexpr const char AdviceUnauthorized[] =
    "The box has not accepted this computer's adb key: accept the key on the box, or check ~/.android/adbkey.";
inline constexpr const char AdviceNoPermissions[] =
    "No permission for the box's USB device: install the package's udev rule, or for a build without the "
    "package run in its source folder: %2 - then plug the box in again.";
inline constexpr const char AdviceWait[] =
    "adb lists the box as \"%1\": wait a moment; if it stays so, plug the box in again.";
inline constexpr const char AdviceRestartNormally[] =
    "The box runs in %1 mode: restart it normally to use it here.";
inline constexpr const char AdviceUnusable[] =
    "adb lists a device as \"%1\", which this program cannot use: plug the box in again or restart it.";
inline constexpr const char AdviceAdbMissing[] = "The adb client is not installed: install it with: sudo apt install adb";
// %1 the server's version, %2 the client's.
inline constexpr const char ServerVersionClash[] =
    "An adb server of version %1 answered this program's adb client of version %2: each stops the other's "
    "server. Set the environment variable ADB to the adb both should use, or close the other tool.";

// Fixed texts that are never looked up in the language files.
inline constexpr const char WindowTitle[] = "KORVALD EMMC Professional";
inline constexpr const char FtpFailed[] = "Open FTP Serve Failed!";

}  // namespace kz::text
