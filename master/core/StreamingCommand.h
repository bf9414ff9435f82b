#pragma once
// Runs one adb client command line and hands its output over in pieces while
// the client still runs (RunAdbCommand only answers once it has ended).
//
// The client is started and read on a reader thread of its own; the
// callbacks run there, so a dialog passes them on to the GUI thread.  Stop()
// ends the hand-over, not the client: the box's tool goes on with its work,
// and the reader keeps draining the client's output until it exits, so the
// client never writes into a pipe nobody reads (it would block, or die of a
// broken pipe half-way).  The reader owns everything it uses, so a dialog may
// be released while it runs.

#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

namespace kz::master {

class StreamingCommand : public std::enable_shared_from_this<StreamingCommand> {
public:
    struct Callbacks {
        // One piece of output (at most chunkBytes bytes of it, decoded).
        std::function<void(const QString& piece)> piece;
        // The client has exited and every piece was handed over.  Not called
        // when the client could not be started.
        std::function<void()> finished;
    };

    // Starts `commandLine` (split like a Windows command line) with the
    // client beside the program.  A client that cannot be started is
    // reported with "CreateProcess Failed!" (a failure to make the pipes
    // silently); the run then ends without callbacks.  Null when no reader
    // thread could be made.
    static std::shared_ptr<StreamingCommand> Start(const QString& commandLine, int chunkBytes, Callbacks callbacks);

    // No callback starts after this returns.  Callable from any thread.
    void Stop();
    bool IsStopped() const;
    // The reader is done: the client has exited, or never started.
    bool HasEnded() const { return m_ended.load(); }

    StreamingCommand(QString commandLine, int chunkBytes, Callbacks callbacks);

private:
    void Read();
    void Deliver(const std::function<void()>& call);

    const QString m_commandLine;
    const int m_chunkBytes;
    const Callbacks m_callbacks;
    mutable std::mutex m_deliveryMutex;  // held while a callback runs
    bool m_stopped = false;
    std::atomic<bool> m_ended{false};
};

}  // namespace kz::master
