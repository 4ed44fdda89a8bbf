// The plain controls of the main window, each at its place with its look.
#pragma once

#include <QString>

class QLabel;
class QPushButton;
class QWidget;

namespace kv {

// The window font; the buttons, panels and score label use the same family at other sizes.
inline constexpr const char* kWindowFontFamily = "MS Sans Serif";

// A button of the column at the right: left 635, 130 x 22, 8 pt (less when the installed font
// is too wide for the caption), light green face.
QPushButton* makeColumnButton(QWidget* window, const char* name, const QString& caption, int top);

// "KARVELO" in the window font, on the window's own background.
QLabel* makeTitleLabel(QWidget* window);

// Black on white, 24 pt bold, centred, in a thin single border; shows "0".
QLabel* makeScoreLabel(QWidget* window);

}  // namespace kv
