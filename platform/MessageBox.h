#pragma once
// Message boxes without a dependency on Widgets.
//
// Everything below the window layer (the command runner, workers, the
// connection monitor) reports to the operator through ShowMessageBox().  The
// GUI installs the real service at start-up (it shows a QMessageBox on the GUI
// thread and blocks the calling worker until it is answered); tests install a
// scripted answerer.  Without any service the box is written to standard error
// and answered with its default button, so command-line tools never hang.

#include <QObject>
#include <QPointer>
#include <QString>

namespace kz {

enum class MsgButtons { Ok, YesNo };
enum class MsgIcon { None, Information, Warning, Question };
enum class MsgAnswer { Ok, Yes, No };

struct MessageRequest {
    QPointer<QObject> owner;  // owning window (a QWidget) or null for none
    QString text;
    QString caption;
    MsgButtons buttons = MsgButtons::Ok;
    MsgIcon icon = MsgIcon::None;
};

class IMessageService {
public:
    virtual ~IMessageService() = default;
    // Called from any thread; returns once the operator has answered.
    virtual MsgAnswer Show(const MessageRequest& request) = 0;
};

// Installs the process-wide service (null restores the stderr fallback) and
// returns the previous one.  Not owned.
IMessageService* SetMessageService(IMessageService* service);

MsgAnswer ShowMessageBox(const MessageRequest& request);

inline MsgAnswer ShowMessageBox(QObject* owner, const QString& text, const QString& caption,
                                MsgButtons buttons = MsgButtons::Ok, MsgIcon icon = MsgIcon::None)
{
    return ShowMessageBox(MessageRequest{owner, text, caption, buttons, icon});
}

}  // namespace kz
