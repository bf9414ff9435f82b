#pragma once
// The file manager's dialogs against the scripted client, with a main window
// for the language binding and the log.

#include <QTreeView>
#include <functional>

#include "support/MainFrameFixture.h"
#include "files/PickOwner.h"
#include "files/core/FileTexts.h"
#include "support/ListingLine.h"

namespace kz::test {

// Listing lines as the client prints them.
QByteArray ListingOf(const QStringList& lines);

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
public:
    static QTreeView* FileList(QWidget* window);
    static int RowCount(QWidget* window);
    static QString Cell(QWidget* window, int row, int column);
    static void SelectRow(QWidget* window, int row);
    // Right-click on the list; the shortcut menu's window, null when none opened.
    static QWidget* RightClick(QWidget* window);
    static QString ControlText(QWidget* window, const char* name);

protected:
    void SetUp() override;
    QString T(const char* key) const { return frame->Text(key); }
    // The file-name dialog finds its controls once it shows.
    std::function<bool(QWidget*)> NameDialogReady() const
    {
        const QString title = T(kz::files::text::EnterFileName);
        return [title](QWidget* dialog) { return ControlText(dialog, "text_title") == title; };
    }
};

}  // namespace kz::test

// The answer for a file manager once it has listed `rows` rows.
#define WHEN_LISTED(rows, code) \
    ::kz::test::WhenModal([&](QWidget* m) { return RowCount(m) == (rows); }, [&](QWidget* modal) { code; })
