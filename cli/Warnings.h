#pragma once
// The warnings the device link gives when the adb client cannot be started
// reach the operator through the message-box seam.  The tool has no window:
// it keeps the warning and reports it as the failure of the command that met
// it (on standard error, exit 1), answering every box with its default.

#include <QString>
#include <mutex>

#include "platform/MessageBox.h"

namespace kz::cli {

class Warnings : public kz::IMessageService {
public:
    kz::MsgAnswer Show(const kz::MessageRequest& request) override;
    // The last warning's text; empty when none came.
    QString Last() const;

private:
    mutable std::mutex m_mutex;
    QString m_last;
};

}  // namespace kz::cli
