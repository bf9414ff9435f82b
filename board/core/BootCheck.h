#pragma once
// Proof of a boot partition transfer by checksum.  A read is followed by the
// md5sum of the saved image; a write by a read of the partition back into a
// hidden file on the SD card, cut to the image's length (the partition is
// usually longer than the image, and its tail keeps what was there before),
// whose sum must equal the image's.  The box's shell has no pipes, so the
// read-back is cut in place with busybox truncate instead of summed through
// "head -c".

#include <QString>
#include <optional>

namespace kz::board {

// The image on the box, as one shell word: "/mnt/udisk/'a b.img'" for
// SOURCE_BOOT_UDISK, "/mnt/sdcard/'a b.img'" for any other source (a read
// always saves on the SD card).
QString BootImagePath(int source, const QString& name);

// The read-back's name on the SD card: hidden, and tagged with the
// partition, the process and the process's running number of read-backs,
// so that it meets no operator's file and no other read-back.
QString ReadBackName(int boot, qint64 processId, int sequence);

// shell "/mnt/sdcard/busybox truncate -c -s <bytes> <path>"; -c: a read-back
// that was never made is not made now.
QString CutCommand(const QString& path, quint64 bytes);
// shell "rm -f <path>"; the path starts with "/", so never an option.
QString RemoveCommand(const QString& path);

// The byte count of the one plain file an "ls -l" of `name` listed (the
// names of a vfat storage compared without case, a folder in `name` by its
// last part); nothing when the output is anything else.
std::optional<quint64> ListedSize(const QString& probe, const QString& name);

// What a verified boot write saw.  A step that did not run left its output
// empty.
struct ReadBackEvidence {
    QString writeOutput;    // the tool's write
    QString sourceProbe;    // "ls -l" of the image
    QString sourceName;     // the image's plain name, as the write used it
    QString sourceSum;      // md5sum of the image
    QString readBackOutput; // the tool's read of the partition into the read-back
    QString cutOutput;      // truncate's answer
    QString readBackSum;    // md5sum of the cut read-back
    // The box was found without md5sum or truncate: nothing was read back.
    bool proofUnavailable = false;
};

enum class WriteVerdict {
    Verified,        // both sums present and equal
    WriteFailed,     // the tool did not say the write was complete
    SizeUnknown,     // the image's length could not be learnt
    ReadBackFailed,  // the partition could not be read back
    CutFailed,       // the read-back could not be cut to the image's length
    SumMissing,      // a side printed no sum, or something that is not one
    SumDiffers,      // the partition does not hold the image
    NotProved,       // the box cannot sum or cut: the tool's word stands
};

WriteVerdict JudgeWrite(const ReadBackEvidence& evidence);

// The box's own words for a verdict: the output of the step that failed
// (both sums' for a missing or differing sum); empty when verified or not
// proved.
QString WriteTip(const ReadBackEvidence& evidence, WriteVerdict verdict);

// The verdict's name in the record: "verified", "write-failed", ...
QString VerdictName(WriteVerdict verdict);

}  // namespace kz::board
