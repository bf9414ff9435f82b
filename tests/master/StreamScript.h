#pragma once
// Clients that print over time.  FakeBin's client answers each command line
// at once with a fixed text; StreamCommand() makes it run a shell script for
// one command line instead (the script gets the client's folder as $1), so
// a test decides when each part of the output appears: the script waits for
// a gate file that the test opens.

#include <QByteArray>
#include <QString>

#include "app/FakeBin.h"

namespace kz::test {

void StreamCommand(FakeBin& bin, const QString& command, const QByteArray& script);

// A file in the client's folder (a script reads it as "$1/name").
void WriteClientFile(const FakeBin& bin, const QString& name, const QByteArray& bytes);
bool ClientFileExists(const FakeBin& bin, const QString& name);

// Script lines that wait for the gate `name`; OpenGate lets them go on.
QByteArray WaitForGate(const char* name);
void OpenGate(const FakeBin& bin, const char* name);

// Takes the client away, so it cannot be started.
void RemoveClient(const FakeBin& bin);

}  // namespace kz::test
