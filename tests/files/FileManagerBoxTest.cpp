// The file manager against the simulated box, through Debian's adb and our
// client adapter: a file with blanks in its name is copied to the stick,
// then the original is deleted.
#include <QFile>
#include <QLineEdit>
#include <gtest/gtest.h>

#include "BoxFixture.h"
#include "app/BoxWindow.h"
#include "FilesGuiFixture.h"
#include "app/MainFrame.h"
#include "app/core/Texts.h"
#include "files/FileManager.h"
#include "files/core/FileTexts.h"
#include "platform/ProgramDir.h"

using namespace kz::test;
namespace ft = kz::files::text;

namespace {
const char kName[] = "my  file.bin";

int RowOf(QWidget* window, const QString& name)
{
    for (int row = 0; row < FilesGui::RowCount(window); ++row) {
        if (FilesGui::Cell(window, row, 0) == name)
            return row;
    }
    return -1;
}

QByteArray ReadAll(const std::filesystem::path& path)
{
    QFile file(QString::fromStdString(path.string()));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
}  // namespace

// FilesGui's helpers, with the real program folder and the simulated box.
class FileManagerBox : public FilesGui {
protected:
    void SetUp() override
    {
        kz::SetProgramDirectoryForTests(QStringLiteral(KZ_BIN_DIR));
        std::string error;
        ASSERT_TRUE(box.Start(error)) << error;
        ASSERT_NO_FATAL_FAILURE(OpenWindowOnBox(frame, box, true));
    }
    void TearDown() override
    {
        CloseWindowAndBox(frame, box);
    }

    e2e::BoxFixture box;
};

TEST_F(FileManagerBox, CopiesANameWithBlanksToTheStickAndDeletesTheOriginal)
{
    QByteArray content(300000, 'x');
    for (int i = 0; i < content.size(); ++i)
        content[i] = char(i * 7);
    {
        QFile source(QString::fromStdString((box.StateDir() / "sdcard" / kName).string()));
        ASSERT_TRUE(source.open(QIODevice::WriteOnly));
        source.write(content);
    }
    boxes.QueueAnswer(kz::MsgAnswer::Ok);   // copy result
    boxes.QueueAnswer(kz::MsgAnswer::Yes);  // delete question
    bool listedAfterDelete = true;
    WhenModal([&](QWidget* m) { return RowOf(m, QString::fromUtf8(kName)) >= 0; }, [&](QWidget* modal) {
        SelectRow(modal, RowOf(modal, QString::fromUtf8(kName)));
        modal->findChild<QLineEdit*>(QStringLiteral("edit_name"))->setText(QStringLiteral("copy  1.bin"));
        ClickButton(modal, "btn_copy");
        ASSERT_TRUE(boxes.WaitForCount(1, 20000));
        SelectRow(modal, RowOf(modal, QString::fromUtf8(kName)));
        QWidget* menu = RightClick(modal);
        ASSERT_NE(menu, nullptr);
        ClickButton(menu, "menu_delete");
        ASSERT_TRUE(boxes.WaitForCount(3, 20000));
        listedAfterDelete = RowOf(modal, QString::fromUtf8(kName)) >= 0;
        ClickButton(modal, "closebtn");
    });
    OpenFileManager(frame.get(), COPY_SDCARD_TO_UDISK);
    EXPECT_EQ(boxes.Texts(), (QStringList{T(ft::CopyOk), T(ft::DeleteQuestion), T(ft::DeleteOk)}))
        << box.BoxLog();
    EXPECT_EQ(ReadAll(box.StateDir() / "udisk" / "copy  1.bin"), content);
    EXPECT_FALSE(std::filesystem::exists(box.StateDir() / "sdcard" / kName));
    EXPECT_FALSE(listedAfterDelete);
}
