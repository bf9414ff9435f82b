#pragma once
// Timings of the main window's connection monitor, passed in at construction
// (tests shorten them and may leave adb's device list unfollowed).

namespace kz {

// Restarts of the "track-devices" client after its stream ended or the client
// could not start: the first after firstMs, each further one twice as late
// up to maxMs; a run that delivered a list starts the series again.
// A restarted client may have started a new server, which lists what is
// attached only after a moment (the program stops its own server whenever
// the file manager closes): its lists are judged settleMs after its first.
struct TrackerRetry {
    int firstMs = 500;
    int maxMs = 8000;
    int settleMs = 1500;
    // While no run follows the list, "devices" is asked this often.
    int pollMs = 2000;
};

struct MonitorSettings {
    // After a USB arrival the box's adb needs a moment before it is listed.
    int arrivalDelayMs = 5000;
    // Follow adb's own device list besides the USB broadcasts.
    bool followAdbList = true;
    TrackerRetry trackerRetry;
};

}  // namespace kz
