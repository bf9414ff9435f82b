#pragma once
// A program folder for GUI tests: the real skins and language files, and an
// adb client that is a small shell script.  The script records every command
// line and prints the answer file the test wrote for it (nothing when there
// is none).

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace kz::test {

class FakeBin {
public:
    FakeBin();   // builds the folder and points the program at it
    ~FakeBin();  // restores the real program directory

    QString Dir() const { return m_dir.path(); }
    // The answer printed for `command` by calls from now on (bytes as given,
    // UTF-8); a call keeps the answer of its start through its delay.
    void Answer(const QString& command, const QByteArray& output);
    // The client waits this long before it answers `command`.
    void Delay(const QString& command, double seconds);
    // The command lines the client was called with, in order.
    QStringList Calls() const;
    int CountCalls(const QString& command) const { return Calls().count(command); }
    void ClearCalls();

private:
    QString AnswerPath(const QString& command) const;

    QTemporaryDir m_dir;
};

// Answers of a box that is attached and online.
inline constexpr const char kOneBox[] = "List of devices attached \r\nemulator-5554\tdevice\r\n\r\n";
inline constexpr const char kNoDevice[] = "List of devices attached \r\n\r\n";
inline constexpr const char kBoxModel[] = "imx51_bbg\r\r\n";

}  // namespace kz::test
