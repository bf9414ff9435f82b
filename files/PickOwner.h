#pragma once
// A dialog that lets the operator pick a device file (file manager in a pick
// mode) or type a file name (file-name dialog) for itself.  The owner gives
// the language binding and the window the modal dialogs open over, and
// receives the name.  The board dialog derives from this; nothing here needs
// its header.

#include <QString>

class CMainFrame;
class QWidget;

class CPickOwner {
public:
    virtual ~CPickOwner() = default;

    // The main window whose language binding gives the dialogs' texts.
    virtual CMainFrame* PickOwnerMainFrame() const = 0;
    // The window the picker and the name dialog are modal over.
    virtual QWidget* PickOwnerWindow() const = 0;

    // Called on the GUI thread with a non-empty name when the operator
    // confirms; never called on cancel.  An owner whose workers also touch
    // the name overrides this to guard it.
    virtual void SetPickedName(const QString& name) { m_strPickedName = name; }

    // The picked or typed name; empty when nothing is pending.  The owner
    // empties it after use.
    QString m_strPickedName;
};
