// Claims the X11 platform, as a qt.conf that moves Qt's plugin folder would make Qt look for it.
#include <QObject>

#include "tests/infinstall/planted/marker.h"

namespace {
const bool loaded = (leaveMarker("platform"), true);
}

class PlantedPlatformPlugin : public QObject {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QPA.QPlatformIntegrationFactoryInterface.5.3" FILE
                          "platform_plugin.json")
};

#include "platform_plugin.moc"
