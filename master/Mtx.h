#pragma once
// Master from an MTX file: the box's tool decompresses the MTX file on the
// stick into its master.  The label shows the latest piece of output while
// the tool works; at the end the whole output is judged and the label shows
// "PASS" in green or "FAIL" in red.

#include <QPointer>
#include <QString>

#include "master/StreamingDialog.h"

#include <QLabel>

class CMTX : public CStreamingDialog {
    Q_OBJECT
public:
    explicit CMTX(CMainFrame* owner);

    QString GetWindowClassName() const override { return QStringLiteral("MTX"); }
    QString GetSkinFile() const override { return QStringLiteral("mtx.xml"); }

    // Everything the tool printed so far.
    const QString& Output() const { return m_output; }

protected:
    RunPlan Plan() const override;
    void InitControls() override;
    void OnPiece(const QString& piece) override;
    void OnFinished() override;

private:
    void ShowOutcome(bool pass);

    QString m_output;
    QPointer<QLabel> m_label;
};

// Opens the dialog over the main window and returns when it has closed.
void RunMtxDialog(CMainFrame* owner);
