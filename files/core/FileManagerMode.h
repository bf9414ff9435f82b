#pragma once
// What a file manager window is opened for.  0 and 1 copy between the two
// storages; 3 to 6 let a dialog pick a file.  The pick values are the board
// dialog's file sources, handed over unchanged, so the board uses these
// names rather than defining its own.

#include <QString>

inline constexpr int COPY_UDISK_TO_SDCARD = 0;
inline constexpr int COPY_SDCARD_TO_UDISK = 1;
inline constexpr int SOURCE_USER_UDISK = 3;   // user-area file on the U-disk
inline constexpr int SOURCE_USER_SDCARD = 4;  // user-area file on the SD card
inline constexpr int SOURCE_BOOT_UDISK = 5;   // boot image on the U-disk
inline constexpr int SOURCE_BOOT_SDCARD = 6;  // boot image on the SD card

namespace kz::files {

inline constexpr char kUdiskRoot[] = "/mnt/udisk";
inline constexpr char kSdcardRoot[] = "/mnt/sdcard";

inline bool IsCopyMode(int mode) { return mode == COPY_UDISK_TO_SDCARD || mode == COPY_SDCARD_TO_UDISK; }
inline bool IsPickMode(int mode) { return mode >= SOURCE_USER_UDISK && mode <= SOURCE_BOOT_SDCARD; }
inline bool IsUdiskMode(int mode)
{
    return mode == COPY_UDISK_TO_SDCARD || mode == SOURCE_USER_UDISK || mode == SOURCE_BOOT_UDISK;
}
inline bool IsSdcardMode(int mode)
{
    return mode == COPY_SDCARD_TO_UDISK || mode == SOURCE_USER_SDCARD || mode == SOURCE_BOOT_SDCARD;
}

// The folder a mode lists; empty for a value that is no mode.
inline QString RootOf(int mode)
{
    if (IsUdiskMode(mode))
        return QString::fromLatin1(kUdiskRoot);
    if (IsSdcardMode(mode))
        return QString::fromLatin1(kSdcardRoot);
    return {};
}

}  // namespace kz::files
