#pragma once
// The separate FTP client program that ships beside this one.

#include <QString>

namespace kz {

// "<program directory>/FTPClient"
QString FtpClientPath();

// Starts the client on its own, in a new process group, without waiting for it
// or keeping a link to it.  When it cannot be started the operator is told
// ("Open FTP Serve Failed!") and false is returned.
bool StartFtpClient();

}  // namespace kz
