#pragma once
// READ USER: the box's tool reads the chip's whole user partition into its
// master while the dialog lists what the tool prints, piece by piece, as it
// arrives.  The dialog judges nothing: the operator reads the tool's words.

#include <QListView>
#include <QPointer>
#include <QStringList>

#include "master/StreamingDialog.h"
#include "ui/CallbackListModel.h"
#include "ui/ListCallback.h"

class CReadUser : public CStreamingDialog, public kz::ui::IListCallbackUI {
    Q_OBJECT
public:
    explicit CReadUser(CMainFrame* owner);
    ~CReadUser() override;

    QString GetWindowClassName() const override { return QStringLiteral("Read User"); }
    QString GetSkinFile() const override { return QStringLiteral("readuser.xml"); }
    QString GetItemText(int row, int column) override;

    // The rows shown so far, one piece of output each.
    const QStringList& Rows() const { return m_rows; }

protected:
    RunPlan Plan() const override;
    void InitControls() override;
    void OnPiece(const QString& piece) override;
    void OnFinished() override;

private:
    QStringList m_rows;
    QString m_output;  // the whole run, for its verdict
    QPointer<QListView> m_list;
    QPointer<kz::ui::CallbackListModel> m_model;
};

// Opens the dialog over the main window and returns when it has closed.
void RunReadUserDialog(CMainFrame* owner);
