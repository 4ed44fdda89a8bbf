// Hand check of dragging on a real X server, kept out of the build: nine fields in a row, the
// even ones draggable; every drop is printed as "dropped TARGET SOURCE".
//   g++ -std=c++20 -fPIC drag_demo.cpp ... (see README.md beside it)
#include <QApplication>
#include <QTextStream>
#include <QTimer>
#include <cstdio>

#include "game/ui/widgets/field_widget.h"
#include "game/ui/widgets/palette_pictures.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    kv::PalettePictures pictures(app.devicePixelRatio());
    QWidget window;
    window.setWindowTitle(QStringLiteral("drag demo"));
    window.setFixedSize(37 + 63 * 9, 100);
    for (int i = 0; i < 9; ++i) {
        auto* field = new kv::FieldWidget(i, pictures, &window);
        field->move(37 + 63 * i, 17);
        field->setBaseColour(QColor(230, 255, 230));
        if (i % 2 == 0) {
            field->setPicture(static_cast<kv::PaletteIndex>(i));
            field->setDraggable(true);
        }
        if (i == 8)
            field->setEnabled(false);
        QObject::connect(field, &kv::FieldWidget::dropped, [](int target, int source) {
            std::printf("dropped %d %d\n", target, source);
            std::fflush(stdout);
        });
    }
    window.move(0, 0);
    window.show();
    if (argc > 1)
        QTimer::singleShot(QString::fromLatin1(argv[1]).toInt(), &app, &QApplication::quit);
    return app.exec();
}
