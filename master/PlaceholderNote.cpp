#include "master/PlaceholderNote.h"

#include <QLabel>
#include <QLayout>
#include <QVBoxLayout>

namespace kz {

void AddPlaceholderNote(QWidget* window, const QString& text)
{
    if (!window)
        return;
    auto* note = new QLabel(text, window);
    note->setObjectName(QStringLiteral("label_placeholder_note"));
    note->setAlignment(Qt::AlignCenter);
    note->setWordWrap(true);
    note->setStyleSheet(QStringLiteral("color: #808080; font-size: 11px;"));
    QLayout* layout = window->layout() ? window->layout() : new QVBoxLayout(window);
    layout->addWidget(note);
}

}  // namespace kz
