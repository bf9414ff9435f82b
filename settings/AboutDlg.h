#pragma once
// The About box: the skin's own content and a link to the maker's web site.
// Like every dialog it has no maximise button, so a double-click on its
// caption does nothing.

#include "ui/WindowImplBase.h"

class CAbout : public kz::ui::WindowImplBase {
    Q_OBJECT
public:
    CAbout() = default;

    // The maker's web site, opened by "btn_connectme".
    static QString WebSiteAddress();

    QString GetWindowClassName() const override { return QStringLiteral("About"); }
    QString GetSkinFile() const override { return QStringLiteral("about.xml"); }
    void Notify(kz::ui::TNotifyUI& msg) override;
    // Released with its window.
    void OnFinalMessage() override { delete this; }
};
