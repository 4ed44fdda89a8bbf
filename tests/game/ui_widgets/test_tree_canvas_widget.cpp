// The tree canvas: its size in twips, lines at the right pixels and widths, clearing, the
// sunken border, and a tree drawn before the widget is shown. Runs at ratio 1 and, through
// QT_SCALE_FACTOR, at ratio 2; expectations are in logical pixels.
#include <QTest>

#include "game/rules/random_source.h"
#include "game/tree/tree.h"
#include "game/ui/widgets/tree_canvas_widget.h"
#include "tests/game/ui_widgets/logical_pixel.h"

using kv::TreeCanvasWidget;

namespace {

const QColor kBackground(230, 255, 230);
const QColor kForeground(0, 128, 0);

QColor logical(const QImage& image, int x, int y)
{
    return kv::test::logicalPixel(image, x, y);
}

int countColour(const QImage& image, const QColor& colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == colour ? 1 : 0;
    }
    return count;
}

void prepare(TreeCanvasWidget& canvas)
{
    canvas.setBackgroundColour(kBackground);
    canvas.setForegroundColour(kForeground);
}

}  // namespace

class TestTreeCanvasWidget : public QObject {
    Q_OBJECT
private slots:
    void reportsItsInnerAreaInTwips()
    {
        TreeCanvasWidget canvas(nullptr);
        QCOMPARE(canvas.size(), QSize(152, 152));
        QCOMPARE(canvas.innerWidth(), 2220.0);
        QCOMPARE(canvas.innerHeight(), 2220.0);
        const QImage image = canvas.image();
        QCOMPARE(image.deviceIndependentSize(), QSizeF(148, 148));
        QCOMPARE(image.devicePixelRatio(), canvas.devicePixelRatioF());
        // The second run must really draw at the higher ratio, or it proves nothing more.
        const QByteArray scale = qgetenv("QT_SCALE_FACTOR");
        if (!scale.isEmpty())
            QCOMPARE(image.devicePixelRatio(), scale.toDouble());
        QCOMPARE(image.size(), QSize(148, 148) * image.devicePixelRatio());
    }

    void horizontalLineCoversItsPixelRow()
    {
        TreeCanvasWidget canvas(nullptr);
        prepare(canvas);
        canvas.setLineWidth(1);
        canvas.drawLine(150, 750, 1500, 750);  // pixels (10, 50) to (100, 50)
        const QImage image = canvas.image();
        for (int x = 12; x <= 98; ++x) {
            QCOMPARE(logical(image, x, 50), kForeground);
            QCOMPARE(logical(image, x, 49), kBackground);
            QCOMPARE(logical(image, x, 51), kBackground);
        }
        QCOMPARE(logical(image, 8, 50), kBackground);
        QCOMPARE(logical(image, 102, 50), kBackground);
        const int ratio = qRound(image.devicePixelRatio());
        const int count = countColour(image, kForeground) / (ratio * ratio);
        QVERIFY2(count >= 89 && count <= 92, qPrintable(QString::number(count)));
    }

    void lineWidthIsInPixels()
    {
        TreeCanvasWidget canvas(nullptr);
        prepare(canvas);
        canvas.setLineWidth(3);
        canvas.drawLine(600, 150, 600, 1950);  // column 40, rows 10 to 130
        canvas.setLineWidth(1);
        canvas.drawLine(1500, 150, 1500, 1950);  // column 100
        const QImage image = canvas.image();
        for (int y = 15; y <= 125; ++y) {
            QCOMPARE(logical(image, 38, y), kBackground);
            QCOMPARE(logical(image, 39, y), kForeground);
            QCOMPARE(logical(image, 40, y), kForeground);
            QCOMPARE(logical(image, 41, y), kForeground);
            QCOMPARE(logical(image, 42, y), kBackground);
            QCOMPARE(logical(image, 99, y), kBackground);
            QCOMPARE(logical(image, 100, y), kForeground);
            QCOMPARE(logical(image, 101, y), kBackground);
        }
    }

    void clearFillsWithTheBackgroundAndForgetsTheLines()
    {
        TreeCanvasWidget canvas(nullptr);
        prepare(canvas);
        canvas.setLineWidth(4);
        canvas.drawLine(0, 0, 2219, 2219);
        QVERIFY(countColour(canvas.image(), kForeground) > 0);
        canvas.clear();
        QImage image = canvas.image();
        QCOMPARE(countColour(image, kBackground), image.width() * image.height());

        canvas.setBackgroundColour(QColor(10, 20, 30));
        image = canvas.image();
        QCOMPARE(countColour(image, QColor(10, 20, 30)), image.width() * image.height());
    }

    void linesOutsideTheAreaAreClipped()
    {
        TreeCanvasWidget canvas(nullptr);
        prepare(canvas);
        canvas.setLineWidth(0);  // no width still draws the thinnest line
        canvas.drawLine(-30000, 300, 30000, 300);
        canvas.drawLine(5000, 5000, 9000, 9000);
        const QImage image = canvas.image();
        QCOMPARE(logical(image, 0, 20), kForeground);
        QCOMPARE(logical(image, 147, 20), kForeground);
        QCOMPARE(countColour(image, kForeground) /
                     qRound(image.devicePixelRatio() * image.devicePixelRatio()),
                 148);
    }

    void treeDrawnBeforeShowingAppearsInTheFirstPaintInsideASunkenBorder()
    {
        QWidget window;
        window.resize(200, 200);
        auto* canvas = new TreeCanvasWidget(&window);
        canvas->move(10, 10);
        prepare(*canvas);
        kv::ClockRandom random;
        int yields = 0;
        kv::Tree tree(*canvas, random, [&yields] { ++yields; });
        tree.regrow();
        QCOMPARE(yields, 1);

        // The trunk starts at the foot: twips (1110, 2215) are pixel (74, 147).
        const QImage drawn = canvas->image();
        QCOMPARE(logical(drawn, 74, 147), kForeground);
        QVERIFY(countColour(drawn, kForeground) > 400);

        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QImage shown = canvas->grab().toImage();
        const QImage inner = shown.copy(QRect(QPoint(2, 2) * shown.devicePixelRatio(), drawn.size()));
        QCOMPARE(inner.convertToFormat(QImage::Format_RGB32), drawn.convertToFormat(QImage::Format_RGB32));

        auto at = [&](int x, int y) { return logical(shown, x, y); };
        QCOMPARE(at(0, 0), QColor(128, 128, 128));
        QCOMPARE(at(150, 0), QColor(128, 128, 128));
        QCOMPARE(at(0, 150), QColor(128, 128, 128));
        QCOMPARE(at(151, 0), QColor(255, 255, 255));
        QCOMPARE(at(151, 151), QColor(255, 255, 255));
        QCOMPARE(at(1, 1), QColor(64, 64, 64));
        QCOMPARE(at(150, 150), QColor(192, 192, 192));
        QCOMPARE(at(150, 1), QColor(192, 192, 192));
        QCOMPARE(at(2, 2), logical(drawn, 0, 0));
    }
};

QTEST_MAIN(TestTreeCanvasWidget)
#include "test_tree_canvas_widget.moc"
