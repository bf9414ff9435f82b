#pragma once
// The file manager's dialogs against the scripted client, with a main window
// for the language binding and the log.

#include <QTreeView>

#include "app/MainFrameFixture.h"
#include "files/PickOwner.h"

namespace kz::test {

// Listing lines as the client prints them.
QByteArray ListingOf(const QStringList& lines);
QByteArray FileLine(qint64 size, const char* name);

// A board-like owner of the picker and the name dialog.
class TestPickOwner : public CPickOwner {
public:
    explicit TestPickOwner(CMainFrame* main) : m_main(main) {}
    CMainFrame* PickOwnerMainFrame() const override { return m_main; }
    QWidget* PickOwnerWindow() const override { return m_main->GetHWND(); }

private:
    CMainFrame* m_main;
};

class FilesGui : public MainFrameFixture {
protected:
    void SetUp() override;

    static QTreeView* FileList(QWidget* window);
    static int RowCount(QWidget* window);
    // Waits until the window has listed `rows` rows (its listing runs once it shows).
    static void WaitListed(QWidget* window, int rows);
    static QString Cell(QWidget* window, int row, int column);
    static void SelectRow(QWidget* window, int row);
    // Right-click on the list; the shortcut menu's window, null when none opened.
    static QWidget* RightClick(QWidget* window);
    static QString ControlText(QWidget* window, const char* name);
    QString T(const char* key) const { return frame->Text(key); }
};

}  // namespace kz::test
