// The plain controls of the main window, each at its place with its look.
#pragma once

#include <QString>
#include <QStringList>

class QLabel;
class QPushButton;
class QWidget;

namespace kv {

// The window font; the buttons, panels and score label use the same family at other sizes.
inline constexpr const char* kWindowFontFamily = "MS Sans Serif";

// Installed substitutes for the window font are often wider and taller than it. Lowers
// `widget`'s font in half-point steps, down to 6 pt, until the widest of `lines` fits into
// `width` pixels and, with a positive `height`, all of them one below the other into `height`,
// so that captions are not cut and panel lines are neither broken nor hidden.
void fitFontToBox(QWidget* widget, const QStringList& lines, int width, int height = 0);

// A button of the column at the right: left 635, 130 x 22, 8 pt, light green face.
QPushButton* makeColumnButton(QWidget* window, const char* name, const QString& caption, int top);

// "KARVELO" in the window font, on the window's own background.
QLabel* makeTitleLabel(QWidget* window);

// Black on white, 24 pt bold, centred, in a thin single border; shows "0".
QLabel* makeScoreLabel(QWidget* window);

}  // namespace kv
