#pragma once
// Fault journeys: the program's own windows against the simulated box behind
// Debian's adb, a fault put in while an operation runs, and the outcome read
// as the operator reads it.  The box is slowed down so that every operation
// lasts a few seconds and can be interrupted.

#include <QDir>
#include <QFile>
#include <csignal>
#include <functional>
#include <string>

#include "FileManagerBoxFixture.h"
#include "app/MainFrame.h"
#include "link/Texts.h"

namespace kz::test {

// 1 MiB/s: a 3 MiB copy or boot write lasts about three seconds.
inline constexpr int kBoxSpeed = 1 << 20;
inline constexpr int kPayloadBytes = 3 << 20;
// Every operation under a fault ends within this (adb notices a dropped box at once).
inline constexpr int kEndsWithinMs = 15000;
// The box back in the program's device list after a fault is undone.
inline constexpr int kBackWithinMs = 15000;

// A fault of the box or of its adb server, and how it is undone.
struct Fault {
    const char* name;
    const char* inject;   // ctl command, or "kill-server" for the adb server
    const char* restore;  // ctl command, "" when nothing is to be undone
    bool beforeStart;     // an I/O error set up front that strikes mid-way
    // Only the host side is hit: the box's own work may still end well, and
    // then saying so is the truth.
    bool boxCarriesOn = false;
};

inline void PrintTo(const Fault& fault, std::ostream* out) { *out << fault.name; }

inline const Fault kUnplug{"Unplug", "unplug", "plug", false};
inline const Fault kKillServer{"KillServer", "kill-server", "", false, true};
inline const Fault kRemoveStick{"RemoveStick", "remove-udisk", "insert-udisk", false};
inline const Fault kOffline{"Offline", "offline", "online", false};
inline const Fault kUnauthorized{"Unauthorized", "unauthorized", "online", false};

// Bytes that differ from offset to offset, so a shifted or cut copy shows.
inline QByteArray Pattern(int bytes)
{
    QByteArray data(bytes, '\0');
    for (int i = 0; i < bytes; ++i)
        data[i] = char((i * 31 + i / 4096) & 0xff);
    return data;
}

inline void WriteFile(const std::filesystem::path& path, const QByteArray& data)
{
    QFile file(QString::fromStdString(path.string()));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(data), data.size());
}

// The private adb server of this process (it listens on the port the
// fixture put in ANDROID_ADB_SERVER_PORT), or -1.
inline pid_t AdbServerPid()
{
    const QByteArray listen = "tcp:" + qgetenv("ANDROID_ADB_SERVER_PORT");
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile cmdline("/proc/" + entry + "/cmdline");
        if (!cmdline.open(QIODevice::ReadOnly))
            continue;
        const QList<QByteArray> args = cmdline.readAll().split('\0');
        if (args.contains("fork-server") && args.contains(listen))
            return entry.toInt();
    }
    return -1;
}

// A main window on a slowed-down box with its stick mounted.
class FaultJourney : public FileManagerBox {
protected:
    std::string ConfigJson() const override
    {
        return R"({"speed": )" + std::to_string(kBoxSpeed)
               + R"(, "readUserMs": 3000, "mtkMs": 3000, "rebootDelayMs": 1500})";
    }
    void SetUp() override
    {
        qputenv("LC_ALL", "en_US.UTF-8");
        FileManagerBox::SetUp();
        boxes.Clear();  // each journey counts only its own messages
    }
    void TearDown() override
    {
        FileManagerBox::TearDown();
        qunsetenv("LC_ALL");
    }

    void Inject(const Fault& fault)
    {
        if (std::string(fault.inject) == "kill-server") {
            const pid_t server = AdbServerPid();
            ASSERT_GT(server, 0) << "no adb server to kill";
            ::kill(server, SIGKILL);
        } else {
            ASSERT_EQ(box.Ctl(fault.inject), "ok") << fault.inject;
        }
    }
    // Undoes the fault and waits until the program lists the box again.
    void Restore(const Fault& fault)
    {
        if (*fault.restore)
            ASSERT_EQ(box.Ctl(fault.restore), "ok") << fault.restore;
        ASSERT_TRUE(box.Server().WaitForState(box.Serial(), "device", std::chrono::milliseconds(kBackWithinMs)))
            << fault.name << "\n" << box.BoxLog();
        ASSERT_TRUE(WaitFor([&] { return frame->m_bDeviceConnected; }, kBackWithinMs))
            << fault.name << "\n" << box.BoxLog();
    }
    // The main window tells that the box went: its state line and log (the
    // tool's dialogs judge nothing themselves).
    void ExpectBoxReportedGone()
    {
        EXPECT_TRUE(WaitFor([&] { return StateText() == frame->Text(kz::text::Unconnected); }, 3000));
        EXPECT_FALSE(LogLines().filter(frame->Text(kz::text::DeviceSetAside)).isEmpty())
            << qPrintable(LogLines().join('\n'));
    }
    // The next operation once the box is back: the stick mounts (or is
    // mounted already), through a real command.
    void ExpectNextOperationWorks()
    {
        EXPECT_TRUE(frame->MountUdisk()) << qPrintable(LogLines().join('\n'));
    }
};

}  // namespace kz::test
