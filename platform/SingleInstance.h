#pragma once
// One running program per user and display.
//
// The first instance holds an exclusive lock on a file named after the
// window title (compared without regard to case) and the display.  The lock
// belongs to the open file, so it ends with the process however that ends:
// there are no stale locks to clean up, and a restarted program can take
// over as soon as the old one has gone.

#include <QString>

namespace kz {

class SingleInstance {
public:
    SingleInstance() = default;
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // False when another live instance (in this or another process) holds
    // the key.  When no lock file can be made at all the program is let run
    // unguarded rather than refusing to start: true, and Holds() is false.
    bool TryAcquire(const QString& key);

    // Like TryAcquire, retried until `timeoutMs` has passed: a restarting
    // program waits for its predecessor to end.
    bool Acquire(const QString& key, int timeoutMs);

    bool Holds() const { return m_fd >= 0; }
    void Release();

    // The lock file for a key in the current user's runtime folder and
    // display.
    static QString LockFilePath(const QString& key);

private:
    int m_fd = -1;
};

}  // namespace kz
