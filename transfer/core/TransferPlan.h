#pragma once
// Where a transfer between this PC and the box goes and the client command
// lines that move it.  The bytes travel to a hidden part file beside the
// target and take the target's name only once their sums agree, so a failed
// or cancelled transfer never touches a file that was already there, and
// what it leaves behind is its own part file.

#include <QString>

namespace kz::transfer {

enum class Direction { Push, Pull };
enum class BoxStorage { Udisk, Sdcard };

// "push" or "pull": the record's operation.
QString OperationName(Direction direction);

// The file manager's listing mode of the storage (its ls and rm commands).
int StorageMode(BoxStorage storage);
QString BoxRoot(BoxStorage storage);  // "/mnt/udisk", "/mnt/sdcard"

// Language key of the reason a name cannot be used on the box or on the PC;
// null when it may.  On the box the file manager's own rules; on the PC no
// slash, no "." or "..", no zero character.
const char* BoxNameRefusal(const QString& name);
const char* PcNameRefusal(const QString& name);

// ".NAME.kz-part": the name the bytes travel under.
QString PartName(const QString& name);

struct TransferPlan {
    Direction direction = Direction::Push;
    QString pcFolder;  // absolute
    QString pcName;
    BoxStorage storage = BoxStorage::Sdcard;
    QString boxName;

    QString PcPath() const;        // pcFolder/pcName
    QString PcPartPath() const;    // pcFolder/.pcName.kz-part
    QString BoxPath() const;       // /mnt/sdcard/boxName, as adb's sync takes it
    QString BoxPartPath() const;   // /mnt/sdcard/.boxName.kz-part
};

// The client's command line that moves the bytes into the part file.  Both
// paths are absolute, so neither can read as an option, and each is one
// argument whatever blanks or quotes it holds.
QString MoveCommand(const TransferPlan& plan);
// shell "md5sum" of the box's side (the part file while it is one).
QString BoxSumCommand(const TransferPlan& plan, bool part);
// shell "mv" of the box's part file onto the target.
QString BoxCommitCommand(const TransferPlan& plan);
// shell "rm" of the box's part file.
QString BoxDiscardCommand(const TransferPlan& plan);
// shell "df" of the storage, and shell "ls -l" of its top folder.
QString BoxSpaceCommand(const TransferPlan& plan);
QString BoxListCommand(BoxStorage storage);

}  // namespace kz::transfer
