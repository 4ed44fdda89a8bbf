// The window's bevel frame: colours at the edges and corners, the drawing order, and exact
// coverage at pixel ratios 1 and 2.
#include <QPainter>
#include <QTest>

#include "game/ui/widgets/bevel_frame.h"
#include "tests/game/ui_widgets/logical_pixel.h"

namespace {

const QColor kUntouched(1, 2, 3);

QImage framed(qreal ratio, bool antialiased)
{
    QImage image(qRound(800 * ratio), qRound(600 * ratio), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(kUntouched);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, antialiased);
    painter.setPen(QPen(Qt::white, 3));  // the frame must not depend on the caller's pen
    kv::drawBevelFrame(painter);
    return image;
}

QColor green(int g)
{
    return QColor(0, g, 0);
}

}  // namespace

class TestBevelFrame : public QObject {
    Q_OBJECT
private slots:
    void edgesCornersAndOrder_data()
    {
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<bool>("antialiased");
        QTest::newRow("ratio 1") << 1.0 << false;
        QTest::newRow("ratio 2") << 2.0 << false;
        QTest::newRow("ratio 2, antialiased painter") << 2.0 << true;
    }

    void edgesCornersAndOrder()
    {
        QFETCH(qreal, ratio);
        QFETCH(bool, antialiased);
        const QImage image = framed(ratio, antialiased);
        auto px = [&](int x, int y) { return kv::test::logicalPixel(image, x, y); };

        // The middle of each edge, outermost to innermost, then the untouched inside.
        const int topBottom[][2] = {{0, 245},  {1, 210},  {2, 175},  {3, 140},
                                    {596, 80}, {597, 55}, {598, 30}, {599, 5}};
        for (const auto& [row, g] : topBottom)
            QCOMPARE(px(400, row), green(g));
        const int leftRight[][2] = {{0, 245},  {1, 210},  {2, 175},  {3, 140},
                                    {796, 80}, {797, 55}, {798, 30}, {799, 5}};
        for (const auto& [column, g] : leftRight)
            QCOMPARE(px(column, 300), green(g));
        QCOMPARE(px(400, 4), kUntouched);
        QCOMPARE(px(400, 595), kUntouched);
        QCOMPARE(px(4, 300), kUntouched);
        QCOMPARE(px(795, 300), kUntouched);
        QCOMPARE(px(4, 4), kUntouched);

        // The side lines come last and overwrite the corners of the top and bottom lines.
        QCOMPARE(px(0, 599), green(245));
        QCOMPARE(px(0, 596), green(245));
        QCOMPARE(px(1, 598), green(210));
        QCOMPARE(px(799, 0), green(5));
        QCOMPARE(px(799, 3), green(5));
        QCOMPARE(px(796, 3), green(80));
        QCOMPARE(px(3, 3), green(140));
        // Where a side line stops short, the top or bottom line shows.
        QCOMPARE(px(1, 0), green(245));
        QCOMPARE(px(2, 599), green(5));
        QCOMPARE(px(3, 597), green(55));
        QCOMPARE(px(797, 1), green(210));
        QCOMPARE(px(796, 598), green(30));
    }
};

QTEST_MAIN(TestBevelFrame)
#include "test_bevel_frame.moc"
