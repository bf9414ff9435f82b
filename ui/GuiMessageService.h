#pragma once
// The real message-box service: a QMessageBox on the GUI thread, owned by the
// requesting window while that window is still shown.  A worker's request is
// carried to the GUI thread and the worker waits for the answer.  The text is
// shown as plain text: device output never turns into mark-up.
//
// Install at start-up:  static kz::ui::GuiMessageService s; kz::SetMessageService(&s);

#include "platform/MessageBox.h"

class QMessageBox;

namespace kz::ui {

class GuiMessageService : public kz::IMessageService {
public:
    kz::MsgAnswer Show(const kz::MessageRequest& request) override;
};

// Builds the box for a request (GUI thread).  Exposed for tests.
QMessageBox* BuildMessageBox(const kz::MessageRequest& request);

}  // namespace kz::ui
