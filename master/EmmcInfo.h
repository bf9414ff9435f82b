#pragma once
// Shows the chip information as the chip tool printed it (one line per line
// of the tool), under the localised title.  Escape does not close it; the close button does.

#include "ui/WindowImplBase.h"

class CMainFrame;

class CEmmcInfo : public kz::ui::WindowImplBase {
    Q_OBJECT
public:
    CEmmcInfo(CMainFrame* owner, QString text);

    QString GetWindowClassName() const override { return QStringLiteral("eMMCInfo"); }
    QString GetSkinFile() const override { return QStringLiteral("emmc_info.xml"); }
    void Notify(kz::ui::TNotifyUI& msg) override;
    bool EscapeCloses() const override { return false; }

private:
    void OnWindowInit();

    CMainFrame* m_owner;
    QString m_text;
};
