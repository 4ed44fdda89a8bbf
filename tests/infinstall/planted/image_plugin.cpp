// An image format plugin as a local user could plant it in a folder Qt might search.
#include <QImageIOPlugin>

#include "tests/infinstall/planted/marker.h"

namespace {
const bool loaded = (leaveMarker("imageformat"), true);
}

class PlantedImagePlugin : public QImageIOPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QImageIOHandlerFactoryInterface_iid FILE "image_plugin.json")
public:
    Capabilities capabilities(QIODevice*, const QByteArray&) const override { return {}; }
    QImageIOHandler* create(QIODevice*, const QByteArray& = QByteArray()) const override { return nullptr; }
};

#include "image_plugin.moc"
