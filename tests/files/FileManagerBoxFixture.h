#pragma once
// FilesGui's helpers with the real program folder and the simulated box
// behind Debian's adb: a main window connected to a fresh box per test.

#include <QByteArray>
#include <QFile>
#include <filesystem>
#include <string>

#include "BoxFixture.h"
#include "FilesGuiFixture.h"
#include "app/BoxWindow.h"
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

    e2e::BoxFixture box;
};

}  // namespace kz::test
