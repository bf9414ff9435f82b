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

// The free-space token of a df output (units of 1024 bytes, e.g. "7000000K"),
// empty when the output names none.
QString FreeSpaceToken(const QString& dfOutput);

// Decides from the source's "ls -l" and the target's "df".
SpaceOutcome JudgeTargetSpace(const QString& sourceLsOutput, const QString& dfOutput);

// Whole per cent of target over source size texts (0 when the source is 0),
// capped at 100.
int ProgressPercent(const QString& targetSize, const QString& sourceSize);

// The copy command printed an I/O error: failed without looking further.
bool CopyReportedIoError(const QString& copyOutput);

}  // namespace kz::files
