#pragma once
// The dialogs' controls from UTF-8 texts and dialog units. Each helper makes and drops its
// QString in one place: doing so at every control costs the image more.

class QAbstractButton;
class QPushButton;
class QWidget;

namespace setup {

// A push button with `caption` at a rectangle in dialog units.
QPushButton* addButton(QWidget* parent, const char* caption, int x, int y, int width, int height);
void setCaption(QAbstractButton* button, const char* caption);
void setTitle(QWidget* window, const char* title);

}  // namespace setup
