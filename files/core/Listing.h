#pragma once
// The box's "ls -l" output (old toolbox format) as file entries.
//
//   -rw-rw-r-- root     root         1234 2024-05-01 09:30 my file.bin
//
// Lines end in CR CR LF as the client prints them.  Directories are left
// out; every other listing line, links included, is an entry.

#include <QList>
#include <QString>
#include <QStringList>

namespace kz::files {

struct FileEntry {
    QString name;  // the rest of the line after the time, inner spaces kept
    QString date;  // the 16 characters of date and time
    QString size;  // display text, see FormatSize
    quint64 bytes = 0;  // the size field's value, see SizeFieldValue
};

// Entries in the order of the lines.  Text after the last CR CR LF, and
// everything after an empty line, is not listed.  Lines that are not
// listing lines (error texts of the box or of the client) give no entry.
QList<FileEntry> ParseListing(const QString& text);

// The names of the folders of a listing, in the order of the lines.
QStringList ListedFolders(const QString& output);

// Both of the above from one pass over the text (the file manager needs both).
struct Listing {
    QList<FileEntry> entries;
    QStringList folders;
};
Listing ParseListingAndFolders(const QString& output);

// One line's fields; a field the line does not reach stays empty.
FileEntry ParseListingLine(QStringView line);

// A line that begins with a file type and nine permission letters.
bool IsListingLine(QStringView line);

// The size field as a number: a field starting with "-" (the box prints
// files of 2 GiB and more as negative 32-bit numbers) is taken modulo 2^32;
// otherwise its leading digits, 0 when it has none.
quint64 SizeFieldValue(QStringView field);

// "%20.2f" of the size in B, KB, MB or GB, followed by a blank and the unit.
QString FormatSize(QStringView field);

// The lines of a listing's output that are no listing lines (the box's or
// the client's own words), each with its line feed; blank lines and the
// client's server-start lines are left out.
QString ListingOtherLines(const QString& output);

// Language key of the message for a client error in a listing's output,
// null when there is none.  Listing lines are not looked at, so a file
// whose name holds "not found" does not read as a lost device.
const char* ListingErrorKey(const QString& output);

}  // namespace kz::files
