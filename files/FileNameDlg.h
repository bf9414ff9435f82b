#pragma once
// Asks the operator for a file name.  Two uses, fixed at construction:
// - rename: the new name for the file manager's selected file; the dialog
//   renames it on the box, reports, and closes after success or failure;
// - name entry: a dialog (the board dialog) wants a name; it is handed to
//   that owner.
// An empty name, or one that cannot be quoted for the box's shell, is refused
// with a message and the dialog stays open; so is a new name that would
// leave the folder or land on a folder, and one of another file unless the
// operator agrees to replace that file.  Return in the name field is OK.  The dialog releases itself when
// its window closes.

#include <QPointer>

#include "files/LangContext.h"
#include "ui/WindowImplBase.h"

class CFileManager;
class CPickOwner;

class CFileNameDlg : public kz::ui::WindowImplBase {
    Q_OBJECT
public:
    explicit CFileNameDlg(CFileManager* manager);
    explicit CFileNameDlg(CPickOwner* owner);

    QString GetWindowClassName() const override { return QStringLiteral("FileNameDlg"); }
    QString GetSkinFile() const override { return QStringLiteral("inputfilename.xml"); }
    void OnFinalMessage() override { delete this; }
    void Notify(kz::ui::TNotifyUI& msg) override;
    bool EscapeCloses() const override { return false; }
    bool EscapeClicksCloseButton() const override { return true; }
    bool SwallowCaptionDoubleClick() const override { return false; }

private:
    void OnWindowInit();
    void OnOk();
    bool Acceptable(const QString& name);
    bool MayTake(const QString& oldName, const QString& newName);
    bool Rename(const QString& newName);
    QWidget* MessageOwner() const;

    QPointer<CFileManager> m_manager;
    CPickOwner* m_owner = nullptr;
    CLangContext m_lang;
    bool m_hasEdit = false;
};
