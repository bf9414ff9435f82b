#pragma once
// The small dialog shown while the chip information is read.  Its worker runs
// the chip-information command, leaves the answer in the main window and
// closes the dialog.  This is the first, minimal form: no animation yet.

#include "ui/WindowImplBase.h"

class CMainFrame;

class CLoading : public kz::ui::WindowImplBase {
    Q_OBJECT
public:
    explicit CLoading(CMainFrame* owner);
    ~CLoading() override;

    // The loading dialog shown now, if any.
    static CLoading* Current();

    QString GetWindowClassName() const override { return QStringLiteral("eMMCInfo"); }
    QString GetSkinFile() const override { return QStringLiteral("loading.xml"); }
    void Notify(kz::ui::TNotifyUI& msg) override;

private:
    void OnWindowInit();
    void StartWorker();

    CMainFrame* m_owner;
};
