#pragma once
// What the operator types into the board dialog's number fields: counts,
// sizes and hexadecimal write addresses.  (File names are trimmed with
// kz::files::TrimName.)

#include <QString>
#include <optional>

namespace kz::board {

// Decimal as the operator's count and size fields are read: leading white
// space, an optional sign, the digits up to the first other character; no
// digits give 0.  Values beyond the int range are clamped to it.
int ParseDecimal(const QString& text);

inline constexpr int kMinFileRows = 1;
inline constexpr int kMaxFileRows = 30;
inline constexpr int kMinReadSize = 1;
inline constexpr int kMaxReadSize = 10000;

// Start of a user-partition write in MB from an address such as "0x400"
// (counted in KB): "0x" or "0X" and hexadecimal digits, "0x" alone is 0.
// Empty when the prefix is missing, a character after it is no hexadecimal
// digit, or the start does not fit an int.
std::optional<int> WriteStartMb(const QString& address);

}  // namespace kz::board
