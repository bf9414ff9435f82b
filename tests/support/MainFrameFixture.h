#pragma once
// A main window started against the scripted client of FakeBin.

#include <QJsonObject>
#include <QLabel>
#include <QListView>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

#include "app/FakeBin.h"
#include "app/MainFrame.h"
#include "support/GuiTest.h"
#include "support/ScriptedMessageService.h"

namespace kz::test {

class MainFrameFixture : public ::testing::Test {
protected:
    MainFrameFixture();
    ~MainFrameFixture() override;

    // Builds and shows the window; returns once its start-up has run.
    void Start(const QByteArray& devices, const QByteArray& model = kBoxModel, const QByteArray& mount = "");
    void StartConnected() { Start(kOneBox); }

    QString StateText() const;
    QString Text(const char* key) const { return frame->Text(key); }
    QStringList LogLines() const;
    // Runs the events until the client was called `n` times with `command`.
    bool WaitForCalls(const QString& command, int n);
    // The operator's record: its folder, today's file, and every line of it,
    // each of which must be one JSON object (no empty line, none cut short).
    QString RecordFolder() const { return dataHome.path() + QStringLiteral("/korvald-emmc/log"); }
    QString TodaysRecordFile() const;
    QList<QJsonObject> RecordLines() const;

    QTemporaryDir configHome;  // the operator's configuration folder
    QTemporaryDir dataHome;    // the operator's data folder (the log files)
    QByteArray dataHomeBefore = qgetenv("XDG_DATA_HOME");
    // Short waits; adb's device list is followed only where a test says so.
    MonitorSettings monitor{.arrivalDelayMs = 30, .followAdbList = false, .trackerRetry = {}};
    DialogTimings dialogs;  // as the program has them unless a test shortens them
    FakeBin bin;
    ScriptedMessageService boxes;
    std::unique_ptr<CMainFrame> frame;
    int quits = 0;
};

}  // namespace kz::test
