#include "files/FilePicker.h"
#include "app/MainFrame.h"

#include "files/FileManager.h"
#include "files/FileNameDlg.h"
#include "files/core/FileTexts.h"

namespace {

// Passes the name on to the real owner and notes that it did.
class CHandOverWatch : public CPickOwner {
public:
    explicit CHandOverWatch(CPickOwner& owner) : m_owner(owner) {}
    CMainFrame* PickOwnerMainFrame() const override { return m_owner.PickOwnerMainFrame(); }
    QWidget* PickOwnerWindow() const override { return m_owner.PickOwnerWindow(); }
    void SetPickedName(const QString& name) override
    {
        m_owner.SetPickedName(name);
        m_handedOver = true;
    }
    bool HandedOver() const { return m_handedOver; }

private:
    CPickOwner& m_owner;
    bool m_handedOver = false;
};

void RunModal(kz::ui::WindowImplBase* dialog, QWidget* parent, const char* caption)
{
    dialog->Create(parent, QString::fromUtf8(caption));
    dialog->CenterWindow();
    dialog->ShowModal();  // the dialog has released itself when this returns
}

}  // namespace

bool PickDeviceFile(CPickOwner& owner, int mode)
{
    CHandOverWatch watch(owner);
    RunModal(new CFileManager(mode, &watch), owner.PickOwnerWindow(), kz::files::text::ManagerCaption);
    return watch.HandedOver();
}

bool AskFileName(CPickOwner& owner)
{
    CHandOverWatch watch(owner);
    RunModal(new CFileNameDlg(&watch), owner.PickOwnerWindow(), kz::files::text::NameDialogCaption);
    return watch.HandedOver();
}

void OpenFileManager(CMainFrame* main, int mode)
{
    RunModal(new CFileManager(main, mode), main ? main->GetHWND() : nullptr, kz::files::text::ManagerCaption);
}
