#include "setup/dialogs/dialog_units.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace setup {

void placeInUnits(QWidget* widget, int x, int y, int width, int height)
{
    widget->setGeometry(dluX(x), dluY(y), dluX(width), dluY(height));
}

void sizeAndCentre(QWidget* dialog, int width, int height)
{
    const int w = dluX(width);
    const int h = dluY(height);
    dialog->setFixedSize(w, h);
    // The window is centred with its frame, which is known once the window
    // exists; move() places the frame.
    dialog->winId();
    const QSize outer = dialog->frameGeometry().size();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    dialog->move(screen.x() + (screen.width() - outer.width()) / 2,
                 screen.y() + (screen.height() - outer.height()) / 2);
}

}  // namespace setup
