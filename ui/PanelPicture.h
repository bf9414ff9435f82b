#pragma once
// A panel's picture (the main window's help banner): drawn at its own size
// at the top of the panel, centred, never stretched when the window widens.
// It is scaled smoothly from its sharpest twin (name@2x.png) to the screen's
// own pixels, so that at a fractional scale (150%) it is as sharp as the
// screen allows.  The panel's style sheet still draws its background and
// border.

class QString;
class QWidget;

namespace kz::ui {

// Replaces the picture a previous call gave `panel`.
void ShowPanelPicture(QWidget* panel, const QString& path);

}  // namespace kz::ui
