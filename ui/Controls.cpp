#include "ui/Controls.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QVariant>

namespace kz::ui {

void SetTag(QObject* control, qintptr tag)
{
    if (control)
        control->setProperty("tag", QVariant::fromValue<qlonglong>(tag));
}

qintptr GetTag(const QObject* control)
{
    return control ? qintptr(control->property("tag").toLongLong()) : 0;
}

void SetControlText(QWidget* control, const QString& text)
{
    if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->setText(text);
    else if (auto* line = qobject_cast<QLineEdit*>(control))
        line->setText(text);
    else if (auto* edit = qobject_cast<QTextEdit*>(control))
        edit->setPlainText(text);
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(control))
        plain->setPlainText(text);
    else if (auto* box = qobject_cast<QGroupBox*>(control))
        box->setTitle(text);
    else if (auto* combo = qobject_cast<QComboBox*>(control); combo && combo->isEditable())
        combo->setEditText(text);
    else if (control)
        control->setProperty("text", text);
}

QString GetControlText(const QWidget* control)
{
    if (auto* label = qobject_cast<const QLabel*>(control))
        return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(control))
        return button->text();
    if (auto* line = qobject_cast<const QLineEdit*>(control))
        return line->text();
    if (auto* edit = qobject_cast<const QTextEdit*>(control))
        return edit->toPlainText();
    if (auto* plain = qobject_cast<const QPlainTextEdit*>(control))
        return plain->toPlainText();
    if (auto* box = qobject_cast<const QGroupBox*>(control))
        return box->title();
    if (auto* combo = qobject_cast<const QComboBox*>(control))
        return combo->currentText();
    return control ? control->property("text").toString() : QString();
}

}  // namespace kz::ui
