#pragma once
// English texts of the transfer window and commands: the keys of the
// language files, so they stay exactly as they are.

namespace kz::transfer::text {

inline constexpr const char Title[] = "File Transfer";
inline constexpr const char PcFolder[] = "PC Folder";
inline constexpr const char ChooseFolder[] = "Choose Folder";
inline constexpr const char Upload[] = "Upload";
inline constexpr const char Download[] = "Download";
inline constexpr const char Refresh[] = "Refresh";
inline constexpr const char TimeLeft[] = "Time left";
inline constexpr const char ReplaceQuestion[] = "The target file exists. Replace it?";
inline constexpr const char TransferOk[] = "Transfer successfully!";
inline constexpr const char TransferFailed[] = "Transfer failed!";
inline constexpr const char TransferCancelled[] = "Transfer cancelled!";
inline constexpr const char NoFreeSpaceReported[] = "The box did not report its free space!";
inline constexpr const char PcFileUnreadable[] = "The PC file cannot be read!";

}  // namespace kz::transfer::text
