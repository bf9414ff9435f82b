#pragma once
// Appending whole lines to a record file that must survive a crash or a full
// disk: each line is one write(2) to a file opened for appending, so a reader
// sees a line whole or not at all; a write that the disk cuts short is taken
// back, so the file never ends in half a line.

#include <QByteArray>
#include <QString>

namespace kz {

enum class Durability {
    Cached,  // in the page cache: survives the program's end, not a power cut
    Synced,  // on the disk (fdatasync, and the folder's entry of a new file)
};

// Appends `line` (which ends in a line feed; several lines go whole or not
// at all) to the file at `path`, creating it (and its folder) when missing.
// False, with `error` set to the system's reason, when the line could not be
// written whole, or, when synced, not be made to reach the disk.
bool AppendWholeLine(const QString& path, const QByteArray& line, QString& error,
                     Durability durability = Durability::Cached);

}  // namespace kz
