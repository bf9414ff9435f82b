#pragma once
// Small operations on controls that window code needs whatever widget type
// a skin chose for a name.

#include <QString>

class QObject;
class QWidget;

namespace kz::ui {

// A control's tag: an integer kept on the widget (rows carry their index).
void SetTag(QObject* control, qintptr tag);
qintptr GetTag(const QObject* control);

// The visible text of labels, buttons, line and text edits, group boxes and
// editable combo boxes; other widgets keep it as the dynamic property "text".
void SetControlText(QWidget* control, const QString& text);
QString GetControlText(const QWidget* control);

}  // namespace kz::ui
