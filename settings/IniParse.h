#pragma once
// Pure INI reading and editing on a file's bytes (UTF-8).  Section and key
// names match without regard to ASCII case; surrounding blanks are ignored.

#include <QByteArray>
#include <QString>

#include <optional>

namespace kz {

// The value of the first `key` line in a section named `section`; empty when
// either is missing or when the section or key is empty.
QString IniLookup(const QByteArray& data, const QString& section, const QString& key);

// The file with `key` set to `value` in `section`: the first matching key line
// is replaced, or a line is added at the end of the section's first block, or
// the section is appended.  Every other byte stays as it was, line ends
// included.  Nothing when a name or the value cannot be written as one line
// (line breaks, a key holding '=', a section holding ']', empty names), and
// when the reader would not see it: the file holds a NUL byte (the reader
// stops there) or a line of only "[" (which swallows the next header).
std::optional<QByteArray> IniWithValue(const QByteArray& data, const QString& section, const QString& key,
                                       const QString& value);

}  // namespace kz
