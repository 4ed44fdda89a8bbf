#include "setup/dialogs/controls.h"

#include <QPushButton>

#include "setup/dialogs/dialog_units.h"

namespace setup {

QPushButton* addButton(QWidget* parent, const char* caption, int x, int y, int width, int height)
{
    QPushButton* button = new QPushButton(QString::fromUtf8(caption), parent);
    placeInUnits(button, x, y, width, height);
    return button;
}

void setCaption(QAbstractButton* button, const char* caption)
{
    button->setText(QString::fromUtf8(caption));
}

void setTitle(QWidget* window, const char* title)
{
    window->setWindowTitle(QString::fromUtf8(title));
}

}  // namespace setup
