#pragma once
// Start-up of the program after the QApplication exists and the message
// service is installed: the single-instance rule, the main window, USB
// hot-plug, and the event loop.

namespace kz {

// Returns the program's exit code (0 in every case).
int RunMainWindow();

}  // namespace kz
