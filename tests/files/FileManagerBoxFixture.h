#pragma once
// FilesGui's helpers with the real program folder and the simulated box
// behind Debian's adb: a main window connected to a fresh box per test.

#include <QByteArray>
#include <QComboBox>
#include <QFile>
#include <filesystem>
#include <string>

#include "BoxFixture.h"
#include "support/FilesGuiFixture.h"
#include "app/BoxWindow.h"
#include "files/FileManager.h"
#include "platform/ProgramDir.h"

namespace kz::test {

// The row that shows `name`, -1 when none does.
inline int RowOf(QWidget* window, const QString& name)
{
    for (int row = 0; row < FilesGui::RowCount(window); ++row) {
        if (FilesGui::Cell(window, row, 0) == name)
            return row;
    }
    return -1;
}

inline QByteArray ReadAll(const std::filesystem::path& path)
{
    QFile file(QString::fromStdString(path.string()));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool WriteAll(const std::filesystem::path& path, const QByteArray& bytes)
{
    QFile file(QString::fromStdString(path.string()));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

class FileManagerBox : public FilesGui {
protected:
    void SetUp() override
    {
        kz::SetProgramDirectoryForTests(QStringLiteral(KZ_BIN_DIR));
        std::string error;
        ASSERT_TRUE(box.Start(error, ConfigJson())) << error;
        ASSERT_NO_FATAL_FAILURE(OpenWindowOnBox(frame, box, true));
    }
    virtual std::string ConfigJson() const { return {}; }
    void TearDown() override { CloseWindowAndBox(frame, box); }

    // Copies `name` from the stick to the SD card as `target` and closes the
    // file manager once the copy's message box was answered.
    void CopyFromStick(const QString& name, const QString& target)
    {
        const int before = boxes.Count();
        boxes.QueueAnswer(kz::MsgAnswer::Ok);
        WhenModal([&](QWidget* m) { return RowOf(m, name) >= 0; }, [&](QWidget* modal) {
            SelectRow(modal, RowOf(modal, name));
            modal->findChild<QComboBox*>(QStringLiteral("comb_name"))->setCurrentText(target);
            ClickButton(modal, "btn_copy");
            ASSERT_TRUE(boxes.WaitForCount(before + 1, 100000));
            ClickButton(modal, "closebtn");
        });
        OpenFileManager(frame.get(), COPY_UDISK_TO_SDCARD);
    }

    e2e::BoxFixture box;
};

}  // namespace kz::test
