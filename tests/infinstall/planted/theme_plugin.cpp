// Claims the platform theme every Linux desktop falls back to. Loading it is the attack; what
// it creates does not matter, so it is a plain QObject that Qt cannot use as a theme.
#include <QObject>

#include "tests/infinstall/planted/marker.h"

namespace {
const bool loaded = (leaveMarker("theme"), true);
}

class PlantedThemePlugin : public QObject {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QPA.QPlatformThemeFactoryInterface.5.1" FILE "theme_plugin.json")
};

#include "theme_plugin.moc"
