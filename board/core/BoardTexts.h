#pragma once
// English texts of the board dialog.  They are the keys of the language
// files, so they stay exactly as they are.

namespace kz::board::text {

inline constexpr const char Modify[] = "Modify";
inline constexpr const char Modifying[] = "Modifying";
inline constexpr const char SetOk[] = "Set successfully!";
inline constexpr const char SetFailed[] = "Set failed!";
// %1 the chip tool's name of the setting, %2 the value it reported.
inline constexpr const char ChipValueUnlisted[] =
    "The chip reports %1 \"%2\", which the list does not offer: no value is selected.";

inline constexpr const char Read[] = "Read";
inline constexpr const char Write[] = "Write";
inline constexpr const char Writing[] = "Writing";
inline constexpr const char Saving[] = "saving";

inline constexpr const char Boot1ReadStarted[] = "Read Boot1 successfully!";
inline constexpr const char Boot2ReadStarted[] = "Read Boot2 successfully!";
inline constexpr const char Boot1SaveOk[] = "Save Boot1 successfully!";
inline constexpr const char Boot1SaveFailed[] = "Save Boot1 failed!";
inline constexpr const char Boot2SaveOk[] = "Save Boot2 successfully!";
inline constexpr const char Boot2SaveFailed[] = "Save Boot2 failed!";
inline constexpr const char Boot1WriteOk[] = "Write Boot1 successfully!";
inline constexpr const char Boot1WriteFailed[] = "Write Boot1 failed!";
inline constexpr const char Boot2WriteOk[] = "Write Boot2 successfully!";
inline constexpr const char Boot2WriteFailed[] = "Write Boot2 failed!";

inline constexpr const char UserWriteOk[] = "Write successfully!";
inline constexpr const char UserWriteFailed[] = "Write failed!";
inline constexpr const char UserReadOk[] = "Read User successfully!";
inline constexpr const char UserReadFailed[] = "Read User failed!";

inline constexpr const char AddressFormat[] = "Write address format is incorrect,please enter the hexadecimal!";
inline constexpr const char FileNumRange[] = "File num is out of range,please enter again！";
inline constexpr const char FileSizeRange[] = "File size is out of range,please enter again！";

inline constexpr const char WriteAddr[] = "write addr:";
inline constexpr const char FileName[] = "file name:";
inline constexpr const char Udisk[] = "Udisk";
inline constexpr const char Sdcard[] = "Sdcard";
inline constexpr const char Browse[] = "Browse";
// A boot write the box could not read back and sum: the tool's word stands.
inline constexpr const char WriteNotProved[] = "Not proved: the box cannot read the partition back and sum it.";

}  // namespace kz::board::text
