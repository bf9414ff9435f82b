#pragma once
// Starting other programs.
//
// Every child gets an empty signal mask and default dispositions for all
// signals: a process started from a worker thread that blocks signals (or
// from a process that ignores some) would otherwise pass that on, and an adb
// server started that way would not obey "kill-server"'s SIGTERM.  The
// parent's file descriptors are all close-on-exec, so a child inherits only
// what is set up for it here.

#include <QString>
#include <QStringList>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <sys/types.h>

namespace kz {

enum class StartResult {
    Started,
    PipeFailed,   // the pipes could not be made (descriptor limit)
    SpawnFailed,  // the program is missing, not executable, or fork failed
};

// A child whose standard output and standard error share one pipe that we
// read, and whose standard input is a pipe we never write: the child never
// reads the user's terminal.
class PipedChild {
public:
    PipedChild() = default;
    ~PipedChild();
    PipedChild(const PipedChild&) = delete;
    PipedChild& operator=(const PipedChild&) = delete;

    // `program` is a path (not searched in PATH); argv[0] is the program.
    StartResult Start(const QString& program, const QStringList& args);

    // Gives the child end of file on its standard input.  Until this is
    // called a child that reads its input waits.
    void CloseInput();

    using ChunkSink = std::function<void(const char* data, std::size_t size)>;

    enum class PumpEnd { Exited, Stopped };

    // Hands the output to `sink` as it arrives, until the child has exited;
    // then takes what the pipe holds at that moment and returns.  It never
    // waits for end of file, because a grandchild (an adb server the client
    // started) may keep the write end open for hours.  With `stop`, the flag
    // is checked every `stopCheck` and a set flag ends the pump at once,
    // leaving the child running.
    PumpEnd Pump(const ChunkSink& sink, const std::atomic<bool>* stop = nullptr,
                 std::chrono::milliseconds stopCheck = std::chrono::milliseconds(100));

    pid_t Pid() const { return m_pid; }
    bool HasExited() const { return m_reaped; }
    int ExitStatus() const { return m_status; }  // waitpid status, once exited

private:
    bool PumpOnce(const ChunkSink& sink, int timeoutMs);
    bool ReadAvailable(const ChunkSink& sink);
    void ReadWhatIsThere(const ChunkSink& sink);
    bool TryReap();
    void CloseAll();

    pid_t m_pid = -1;
    int m_output = -1;     // read end of the output pipe
    int m_input = -1;      // write end of the input pipe
    int m_exitWatch = -1;  // pidfd: readable once the child has exited
    bool m_outputEnded = false;
    bool m_reaped = false;
    int m_status = 0;
};

// Starts a program that lives on its own (FTP client, a restarted copy of
// this program, a URL opener): standard input from /dev/null, output
// inherited, reaped in the background.  A name without a slash is searched in
// PATH.  With `newProcessGroup` it does not receive the terminal's signals
// meant for us.  Returns false when it could not be started.
bool StartDetached(const QString& program, const QStringList& args, bool newProcessGroup);

}  // namespace kz
