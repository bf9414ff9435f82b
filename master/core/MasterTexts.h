#pragma once
// Command lines and English texts of the chip-information and master
// dialogs.  The English texts double as language-file keys.

namespace kz::master {

inline constexpr const char kReadUserCommand[] = "shell /mnt/sdcard/eMMC /READ_USER";
inline constexpr const char kMtxCommand[] = "shell /mnt/sdcard/eMMC /MTK";

// Bytes of client output per piece handed to the dialog: a READ USER row, or
// the MTX label's latest text.
inline constexpr int kReadUserChunkBytes = 127;
inline constexpr int kMtxChunkBytes = 51;

namespace text {
inline constexpr const char ReadUserTitle[] = "Read User";
inline constexpr const char MtxTitle[] = "MTX Decompression";
inline constexpr const char Ok[] = "OK";
inline constexpr const char Reading[] = "Reading";
inline constexpr const char Decompressing[] = "decompression";
inline constexpr const char Successfully[] = "successfully";
inline constexpr const char Failed[] = "failed";
inline constexpr const char NoMtxFile[] = "Can't find MTX file in the udisk!";

// Fixed texts, never looked up.
inline constexpr const char StopQuestion[] = "Are you sure to stop ？！";
inline constexpr const char StopCaption[] = "Warnning";
inline constexpr const char PromptCaption[] = "Prompt";
}  // namespace text

}  // namespace kz::master
