#pragma once
// The adapter takes SIGTERM, SIGINT and SIGCHLD as readable events rather than
// asynchronous handlers: one poll loop then waits for output, for the child's
// end and for a request to stop, without races on the child's pid.

#include <chrono>

namespace kz::adapter {

class SignalChannel
{
public:
    // Blocks the three signals in this process (children get a clean mask at
    // spawn) and opens a descriptor that reports them.
    SignalChannel();
    ~SignalChannel();
    SignalChannel(const SignalChannel&) = delete;
    SignalChannel& operator=(const SignalChannel&) = delete;

    int Fd() const { return fd_; }

    // Reads what is pending.  Returns the termination signal received by this
    // call (SIGTERM or SIGINT), or 0; a SIGCHLD is only drained.
    int TakeTermination();

    // Sleeps, but wakes early for a termination request.
    void Sleep(std::chrono::milliseconds duration);

    // The first termination signal ever received, or 0.
    int TerminationRequested() const { return termination_; }

private:
    int fd_ = -1;
    int termination_ = 0;
};

}  // namespace kz::adapter
