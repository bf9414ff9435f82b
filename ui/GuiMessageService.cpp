#include "ui/GuiMessageService.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>

#include "ui/GuiThread.h"
#include "ui/SkinLook.h"

namespace kz::ui {

namespace {

QMessageBox::Icon ToIcon(kz::MsgIcon icon)
{
    switch (icon) {
    case kz::MsgIcon::Information: return QMessageBox::Information;
    case kz::MsgIcon::Warning: return QMessageBox::Warning;
    case kz::MsgIcon::Question: return QMessageBox::Question;
    case kz::MsgIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

// A box belongs to its window while that window is on screen.  A closed
// dialog's late report goes to the window that opened it, and a report
// without a window (a worker's, a helper's) to the window the operator works
// in: a box with no owner lands wherever the window system puts it and can
// hide behind the program's windows.
QWidget* OwnerWindow(const kz::MessageRequest& request)
{
    auto* widget = qobject_cast<QWidget*>(request.owner.data());
    for (QWidget* w = widget ? widget->window() : nullptr; w; w = w->parentWidget()) {
        w = w->window();
        if (w->isVisible())
            return w;
    }
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

kz::MsgAnswer RunBox(const kz::MessageRequest& request)
{
    QPointer<QMessageBox> box = BuildMessageBox(request);
    const int button = box->exec();
    delete box;
    if (request.buttons == kz::MsgButtons::Ok)
        return kz::MsgAnswer::Ok;
    return button == QMessageBox::Yes ? kz::MsgAnswer::Yes : kz::MsgAnswer::No;
}

}  // namespace

QMessageBox* BuildMessageBox(const kz::MessageRequest& request)
{
    auto* box = new QMessageBox(OwnerWindow(request));
    box->setPalette(SkinPalette());  // the skins' look under any desktop theme
    box->setWindowTitle(request.caption);
    box->setTextFormat(Qt::PlainText);
    box->setText(request.text);
    box->setIcon(ToIcon(request.icon));
    if (request.buttons == kz::MsgButtons::YesNo) {
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box->setDefaultButton(QMessageBox::Yes);
        box->setEscapeButton(QMessageBox::No);
    } else {
        box->setStandardButtons(QMessageBox::Ok);
    }
    box->setWindowModality(box->parentWidget() ? Qt::WindowModal : Qt::ApplicationModal);
    return box;
}

kz::MsgAnswer GuiMessageService::Show(const kz::MessageRequest& request)
{
    kz::MsgAnswer answer = request.buttons == kz::MsgButtons::YesNo ? kz::MsgAnswer::No : kz::MsgAnswer::Ok;
    RunOnGuiBlocking(nullptr, [&] { answer = RunBox(request); });
    return answer;
}

}  // namespace kz::ui
