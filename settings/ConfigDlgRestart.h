#pragma once
// Restarting the program after a language change.
//
// The new instance is started while this one is still closing, so it would
// meet this one's single-instance lock.  It is started with a mark in its
// environment; an instance that finds the mark waits for the lock instead of
// giving up at once.

#include <QString>

namespace kz {

inline constexpr char kRestartMarkVariable[] = "KORVALD_EMMC_RESTART";
// How long a restarted instance waits for its predecessor to end.
inline constexpr int kRestartWaitMs = 20000;

// Starts `program` as a new, independent instance carrying the mark; false
// when it could not be started.
bool StartNewInstance(const QString& program);

// The running executable.
QString RunningProgram();

// True when this process was started by a restart; removes the mark so that
// programs started from here do not inherit it.
bool TakeRestartMark();

}  // namespace kz
