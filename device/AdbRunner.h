#pragma once
// Running one adb client command line.
//
// Every device operation is one run of the client beside the program
// (adb/kz_daemon) with a command line such as "devices" or
// "shell \"cd /mnt/sdcard && ./eMMC ...\"".  The callers decide what happened
// from the text the client printed, never from its exit code.

#include <QString>
#include <atomic>

#include "device/ClientAnswer.h"

namespace kz {

// <program directory>/adb/kz_daemon
QString AdbClientPath();

// RunAdbCommand with the fact of the start kept beside the text.
ClientAnswer RunAdbClient(const QString& command);

// A client run that could not even be attempted (no thread to run it on):
// the same warning box as a client that did not start, with `text`.
ClientAnswer ReportClientStartFailure(const char* text);

}  // namespace kz

// Runs the client with `command` (split like a Windows command line), waits
// until the client has exited and gives everything it printed on standard
// output and standard error, decoded from UTF-8.  Returns true when the
// client was started, whatever it printed or its exit code.  Returns false
// when it could not be started; then a warning box has been shown and
// `output` is unchanged.  Blocks the calling thread for one client run;
// callable from any thread, several at once.
bool RunAdbCommand(QString command, QString& output);

namespace kz {

// True when the client's answer to "start-server" says that this run started
// the server; a server that was running already makes it print nothing.
bool StartedServer(const QString& startServerOutput);

}  // namespace kz

// Starts the adb server when built and stops it when destroyed, but only a
// server its own start started: a server found running belongs to someone
// else (another tool, another window) whose transfers a stop would break.
// An owner that stops the server earlier (the main window as it closes)
// does so through StopServer(), so the server is told to stop once.
class CAdbHelper {
public:
    CAdbHelper();
    ~CAdbHelper();
    void StopServer();
    bool OwnsServer() const { return m_owns; }
    CAdbHelper(const CAdbHelper&) = delete;
    CAdbHelper& operator=(const CAdbHelper&) = delete;

private:
    bool m_owns = false;
    std::atomic<bool> m_stopped{false};
};
