#pragma once
// The operands that name things on the box: a storage ("udisk", "sdcard"),
// a file on one ("udisk:NAME"), a boot partition ("1", "2") and counts.  Each
// gives the usage error to print when the text is not one.

#include <QString>
#include <optional>

namespace kz::cli {

enum class Storage { Udisk, Sdcard };

struct Location {
    Storage storage = Storage::Udisk;
    QString name;  // as given: the window's rules for names are applied by the commands
};

std::optional<Storage> ParseStorage(const QString& word);

// "udisk:NAME" or "sdcard:NAME"; the error names the operand otherwise.
struct LocationResult {
    Location location;
    QString error;
};
LocationResult ParseLocation(const QString& text);

QString StorageWord(Storage storage);  // "udisk", "sdcard"

// The file manager mode that lists the storage, and, for a copy, takes the
// file from it into the other one.
int ListMode(Storage storage);
// The board dialog's file sources for a file on the storage.
int BootSource(Storage storage);
int UserSource(Storage storage);

// "1" or "2".
std::optional<int> ParseBoot(const QString& text);

// Decimal digits only (no sign, no blanks, no unit), within int.
std::optional<int> ParseCount(const QString& text);

}  // namespace kz::cli
