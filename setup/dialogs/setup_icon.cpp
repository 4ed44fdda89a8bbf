#include "setup/dialogs/setup_icon.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>

#include "setup/dialogs/setup_icon_png.h"  // written by tools/setup_icon

namespace setup {

void applySetupIcon()
{
    QPixmap picture;
    picture.loadFromData(kSetupIconPng, sizeof kSetupIconPng, "PNG");
    QApplication::setWindowIcon(QIcon(picture));
}

}  // namespace setup
