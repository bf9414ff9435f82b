#pragma once
// One run of the tool: the box it talks to, the client runs it makes for the
// command, and where the outcome goes (text or JSON lines on standard output,
// failures on standard error).

#include <QString>
#include <optional>

#include "cli/core/Outcome.h"
#include "cli/core/ParseArgs.h"
#include "device/ClientAnswer.h"

namespace kz::cli {

class Warnings;

class Session {
public:
    Session(const CliRequest& request, const Warnings& warnings);

    const CliRequest& Request() const { return m_request; }
    bool Json() const { return m_request.json; }
    const QString& Serial() const { return m_serial; }

    // Picks the box: --serial, else the only one adb lists.  An exit code
    // when the command must not be sent (several boxes, no client).
    std::optional<int> ChooseBox();

    // `command` as the client's command line for the chosen box.
    QString ClientLine(const QString& command) const;
    kz::ClientAnswer Run(const QString& command) const;

    // Mounts the stick as the windows do before they use it; the failure
    // to report when it cannot be mounted.
    std::optional<Outcome> MountStick(const QString& operation) const;

    // Prints the outcome (text or JSON) and gives the exit code.  `text` is
    // what a success prints without --json; the key when empty.
    int Finish(const Outcome& outcome, const QString& text = {}) const;
    // A client that did not start: what it said, as the failure.
    int NotStarted(const kz::ClientAnswer& answer, const QString& operation) const;
    // Bad input: the reason on standard error, exit 2.  Nothing was sent.
    int Usage(const QString& reason) const;
    int Usage(const char* key) const { return Usage(QString::fromUtf8(key)); }

    // The device link's last warning (a client that could not be started).
    QString LastWarning() const;

    // A line of a streaming command, as it comes.
    void StreamLine(const QString& line, const QString& operation) const;

private:
    const CliRequest& m_request;
    const Warnings& m_warnings;
    QString m_serial;
};

// `command` for the box `serial` ("-s SERIAL command"); as it is for none.
QString ClientLineFor(const QString& serial, const QString& command);

void WriteOut(const QString& text);
void WriteErr(const QString& text);

}  // namespace kz::cli
