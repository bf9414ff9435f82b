#pragma once
// Judgements of a copy between the storages: file sizes from "ls -l" of one
// file, free space from "df", progress and the final verdict.

#include <QString>

namespace kz::files {

// Outcome of the free-space check before a copy.
enum SpaceOutcome : int {
    SpaceNotReported = 0,        // df named no free space: nothing happens
    SpaceStorageMissing = 10001, // "Udisk not found!"
    SpaceTooSmall = 10002,       // "Not enough disk!"
    SpaceOk = 10003,
};

// The size text of the one file an "ls -l <file>" printed: "0" when the box
// says the file does not exist, empty when the output is empty or too short.
QString ProbeFileSize(const QString& lsOutput);

// The free-space token of a df output ("7000000K", "1.9G"), empty when the
// output names none.
QString FreeSpaceToken(const QString& dfOutput);

// The bytes a free-space token names: a number, with decimals or not, and a
// unit K, M, G or T (none: K).  A token starting with "-" is first taken
// modulo 2^32.  Saturates instead of overflowing.
quint64 FreeSpaceBytes(const QString& token);

// Decides from the source's "ls -l" and the target's "df".
SpaceOutcome JudgeTargetSpace(const QString& sourceLsOutput, const QString& dfOutput);

// Whole per cent of target over source size texts (0 when the source is 0),
// capped at 100.
int ProgressPercent(const QString& targetSize, const QString& sourceSize);

// What is known after a copy.  The probes are the "ls -l" outputs of the two
// files, the names the plain file names (as listed, without quotes).
struct CopyEvidence {
    QString copyOutput;
    QString sourceProbe;
    QString targetProbe;
    QString sourceName;
    QString targetName;
};

// The probe is exactly one listing line, of a plain file named `name` (the
// box prints the name or the whole path it was given).
bool IsListingOfFile(const QString& probe, const QString& name);

// A copy succeeded when cp printed nothing but the client's server-start
// lines and both probes list their file with the same size.  Anything else,
// a missing stick, a lost box or any word from cp, is a failure.
bool CopySucceeded(const CopyEvidence& evidence);

}  // namespace kz::files
