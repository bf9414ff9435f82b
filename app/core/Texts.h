#pragma once
// English texts of the main window.  They double as the keys of the language
// files, so they must stay exactly as they are (spelling included).

namespace kz::text {

inline constexpr const char Prompt[] = "Prompt";
inline constexpr const char Connected[] = "Connected";
inline constexpr const char Unconnected[] = "Unconnected";
inline constexpr const char NoDeviceFound[] = "No device found!";
inline constexpr const char DeviceTurnedOff[] = "Device is turned off,please reconnect again!";
inline constexpr const char MultipleDevices[] =
    "Detected that the system is plugged into multiple Android devices, please dial in addition to restart "
    "the program after surplus equipment!";
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

// Fixed texts that are never looked up in the language files.
inline constexpr const char WindowTitle[] = "KORVALD EMMC Professional";
inline constexpr const char FtpFailed[] = "Open FTP Serve Failed!";
inline constexpr const char ChineseHint[] = "提示";

}  // namespace kz::text
