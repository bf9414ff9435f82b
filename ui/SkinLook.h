#pragma once
// The skins' own colours.  The skins are drawn light; a desktop or platform
// theme (a dark GTK theme, a dark application palette) must not reach them,
// or its light text lands on the skins' white lists and labels.  So every
// skinned window and every message box carries one complete palette of its
// own, and the skins share one focus frame that reads on any of their
// backgrounds.

class QPalette;
class QWidget;

namespace kz::ui {

// Every role of every colour group (active, inactive, disabled).
QPalette SkinPalette();

// Gives a top-level window the skin palette, the text colours its skin leaves
// open and the shared focus frame.
void ApplySkinLook(QWidget* window);

}  // namespace kz::ui
