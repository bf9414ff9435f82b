#include "platform/Process.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/ioctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace kz {

namespace {

// sigfillset leaves out the two real-time signals the C library keeps for
// itself, and posix_spawn then starts the child with them ignored; an ignored
// signal stays ignored across exec.  The bits are set directly because
// sigaddset refuses those two.
sigset_t EverySignal()
{
    sigset_t set;
    sigemptyset(&set);
    auto* words = reinterpret_cast<unsigned long*>(&set);
    constexpr int kBitsPerWord = 8 * sizeof(unsigned long);
    for (int sig = 1; sig <= SIGRTMAX && sig <= int(sizeof(set) * 8); ++sig) {
        if (sig != SIGKILL && sig != SIGSTOP)
            words[(sig - 1) / kBitsPerWord] |= 1UL << ((sig - 1) % kBitsPerWord);
    }
    return set;
}

// Owns the attributes every child is started with.
class SpawnAttributes {
public:
    explicit SpawnAttributes(bool newProcessGroup)
    {
        posix_spawnattr_init(&m_attr);
        sigset_t none;
        sigemptyset(&none);
        sigset_t all = EverySignal();
        posix_spawnattr_setsigmask(&m_attr, &none);
        posix_spawnattr_setsigdefault(&m_attr, &all);
        short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
        if (newProcessGroup) {
            posix_spawnattr_setpgroup(&m_attr, 0);
            flags |= POSIX_SPAWN_SETPGROUP;
        }
        posix_spawnattr_setflags(&m_attr, flags);
    }
    ~SpawnAttributes() { posix_spawnattr_destroy(&m_attr); }
    SpawnAttributes(const SpawnAttributes&) = delete;
    SpawnAttributes& operator=(const SpawnAttributes&) = delete;
    const posix_spawnattr_t* Get() const { return &m_attr; }

private:
    posix_spawnattr_t m_attr;
};

class FileActions {
public:
    FileActions() { posix_spawn_file_actions_init(&m_actions); }
    ~FileActions() { posix_spawn_file_actions_destroy(&m_actions); }
    FileActions(const FileActions&) = delete;
    FileActions& operator=(const FileActions&) = delete;
    posix_spawn_file_actions_t* Get() { return &m_actions; }

private:
    posix_spawn_file_actions_t m_actions;
};

// argv as the exec call wants it; the strings live as long as this object.
class ArgumentVector {
public:
    ArgumentVector(const QString& program, const QStringList& args)
    {
        m_strings.push_back(program.toStdString());
        for (const QString& arg : args)
            m_strings.push_back(arg.toStdString());
        for (std::string& s : m_strings)
            m_pointers.push_back(s.data());
        m_pointers.push_back(nullptr);
    }
    char* const* Get() { return m_pointers.data(); }

private:
    std::vector<std::string> m_strings;
    std::vector<char*> m_pointers;
};

void CloseFd(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

// A pipe end that landed on 0, 1 or 2 (the parent runs with a closed
// standard stream) would be overwritten by the child's own redirection.
int KeepAboveStdio(int fd)
{
    if (fd > STDERR_FILENO)
        return fd;
    const int moved = fcntl(fd, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
    ::close(fd);
    return moved;
}

constexpr int kOutputPipeBytes = 1 << 20;  // the unprivileged maximum by default

bool MakePipe(int ends[2])
{
    if (pipe2(ends, O_CLOEXEC) != 0)
        return false;
    ends[0] = KeepAboveStdio(ends[0]);
    ends[1] = KeepAboveStdio(ends[1]);
    if (ends[0] >= 0 && ends[1] >= 0)
        return true;
    CloseFd(ends[0]);
    CloseFd(ends[1]);
    return false;
}

// A child nobody waits for any more is still reaped, so no zombie is left.
void ReapInBackground(pid_t pid)
{
    try {
        std::thread([pid] {
            int status = 0;
            while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    } catch (const std::system_error&) {
        // Out of threads: the child stays a zombie until we exit.
    }
}

// A descriptor that becomes readable when the child exits, so one poll
// waits for output and exit together.  -1 on kernels without pidfd (before
// 5.3): Pump then polls for the exit.
int OpenExitWatch(pid_t pid)
{
    return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
}

}  // namespace

PipedChild::~PipedChild()
{
    CloseAll();
    if (m_pid > 0 && !m_reaped && !TryReap())
        ReapInBackground(m_pid);
}

void PipedChild::CloseAll()
{
    CloseFd(m_output);
    CloseFd(m_input);
    CloseFd(m_exitWatch);
}

StartResult PipedChild::Start(const QString& program, const QStringList& args)
{
    if (m_pid > 0)
        return StartResult::SpawnFailed;
    int out[2];
    int in[2];
    if (!MakePipe(out))
        return StartResult::PipeFailed;
    // A client printing megabytes then blocks and wakes us far less often.
    fcntl(out[0], F_SETPIPE_SZ, kOutputPipeBytes);  // the default size still works
    if (!MakePipe(in)) {
        CloseFd(out[0]);
        CloseFd(out[1]);
        return StartResult::PipeFailed;
    }
    FileActions actions;
    posix_spawn_file_actions_adddup2(actions.Get(), in[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(actions.Get(), out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(actions.Get(), out[1], STDERR_FILENO);
    SpawnAttributes attributes(false);
    ArgumentVector argv(program, args);
    const std::string path = program.toStdString();
    pid_t pid = -1;
    // glibc reports a failed exec (missing file, no permission, bad
    // interpreter) as the result of posix_spawn itself.
    const int rc = posix_spawn(&pid, path.c_str(), actions.Get(), attributes.Get(), argv.Get(), environ);
    CloseFd(out[1]);
    CloseFd(in[0]);
    if (rc != 0) {
        CloseFd(out[0]);
        CloseFd(in[1]);
        return StartResult::SpawnFailed;
    }
    fcntl(out[0], F_SETFL, fcntl(out[0], F_GETFL) | O_NONBLOCK);
    m_pid = pid;
    m_output = out[0];
    m_input = in[1];
    m_exitWatch = OpenExitWatch(pid);
    return StartResult::Started;
}

void PipedChild::CloseInput()
{
    CloseFd(m_input);
}

bool PipedChild::TryReap()
{
    if (m_reaped)
        return true;
    int status = 0;
    pid_t rc;
    do {
        rc = waitpid(m_pid, &status, WNOHANG);
    } while (rc < 0 && errno == EINTR);
    if (rc == m_pid) {
        m_status = status;
        m_reaped = true;
    } else if (rc < 0) {
        m_reaped = true;  // someone else reaped it; it is gone either way
    }
    return m_reaped;
}

bool PipedChild::ReadAvailable(const ChunkSink& sink)
{
    std::array<char, 65536> buffer;
    const ssize_t n = ::read(m_output, buffer.data(), buffer.size());
    if (n > 0) {
        sink(buffer.data(), static_cast<std::size_t>(n));
        return true;
    }
    if (n == 0 || (errno != EAGAIN && errno != EINTR))
        m_outputEnded = true;
    return false;
}

void PipedChild::ReadWhatIsThere(const ChunkSink& sink)
{
    // Only what the pipe holds now: a grandchild that keeps writing must not
    // keep us here.
    int pending = 0;
    if (m_outputEnded || ioctl(m_output, FIONREAD, &pending) != 0)
        return;
    std::array<char, 65536> buffer;
    while (pending > 0) {
        const std::size_t want = std::min<std::size_t>(buffer.size(), static_cast<std::size_t>(pending));
        const ssize_t n = ::read(m_output, buffer.data(), want);
        if (n <= 0)
            return;
        sink(buffer.data(), static_cast<std::size_t>(n));
        pending -= static_cast<int>(n);
    }
}

// One wait for output or exit; returns true when output was taken.
bool PipedChild::PumpOnce(const ChunkSink& sink, int timeoutMs)
{
    std::array<pollfd, 2> fds{};
    nfds_t count = 0;
    if (!m_outputEnded)
        fds[count++] = pollfd{m_output, POLLIN, 0};
    if (m_exitWatch >= 0)
        fds[count++] = pollfd{m_exitWatch, POLLIN, 0};
    const int ready = poll(fds.data(), count, timeoutMs);
    bool took = false;
    if (ready > 0 && !m_outputEnded && fds[0].revents != 0)
        took = ReadAvailable(sink);
    TryReap();
    return took;
}

PipedChild::PumpEnd PipedChild::Pump(const ChunkSink& sink, const std::atomic<bool>* stop,
                                     std::chrono::milliseconds stopCheck)
{
    if (m_pid <= 0)
        return PumpEnd::Exited;
    // Without a pidfd the exit is only seen by polling: start short so quick
    // commands return quickly, then back off.
    int fallbackMs = 1;
    while (!m_reaped) {
        if (stop != nullptr && stop->load())
            return PumpEnd::Stopped;
        int timeoutMs = stop != nullptr ? static_cast<int>(stopCheck.count()) : -1;
        if (m_exitWatch < 0) {
            timeoutMs = timeoutMs < 0 ? fallbackMs : std::min(timeoutMs, fallbackMs);
            fallbackMs = std::min(fallbackMs * 2, 50);
        }
        if (PumpOnce(sink, timeoutMs))
            fallbackMs = 1;
    }
    ReadWhatIsThere(sink);
    return PumpEnd::Exited;
}

bool StartDetached(const QString& program, const QStringList& args, bool newProcessGroup)
{
    FileActions actions;
    posix_spawn_file_actions_addopen(actions.Get(), STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    SpawnAttributes attributes(newProcessGroup);
    ArgumentVector argv(program, args);
    const std::string path = program.toStdString();
    pid_t pid = -1;
    const int rc = program.contains(u'/')
        ? posix_spawn(&pid, path.c_str(), actions.Get(), attributes.Get(), argv.Get(), environ)
        : posix_spawnp(&pid, path.c_str(), actions.Get(), attributes.Get(), argv.Get(), environ);
    if (rc != 0)
        return false;
    ReapInBackground(pid);
    return true;
}

}  // namespace kz
