#pragma once
// The messages for the adb client's own errors (English texts, the keys of the
// language files, so they stay exactly as they are), and the fixed texts of a
// client that could not be started.

namespace kz::text {

inline constexpr const char NoDeviceFound[] = "No device found!";
inline constexpr const char DeviceTurnedOff[] = "Device is turned off,please reconnect again!";
inline constexpr const char MultipleDevices[] =
    "Detected that the system is plugged into multiple Android devices, please dial in addition to restart "
    "the program after surplus equipment!";

// Fixed texts, never looked up.
inline constexpr const char PipesNotMade[] = "CreatePipe Failed!";
inline constexpr const char ClientNotStarted[] = "CreateProcess Failed!";
inline constexpr const char ChineseHint[] = "提示";

}  // namespace kz::text
