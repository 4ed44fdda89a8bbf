// The ten pictures: exact bevel colours, the joker's bands, the flash's shades, the chequerboard,
// and drawing at a pixel ratio of 2.
#include <QSet>
#include <QTest>
#include <vector>

#include "game/ui/widgets/bevel_colours.h"
#include "game/ui/widgets/palette_pictures.h"

using kv::drawPalettePicture;

namespace {

QRgb at(const QImage& image, int x, int y)
{
    return image.pixel(x, y) & 0xFFFFFFU;
}

QRgb rgb(int r, int g, int b)
{
    return qRgb(r, g, b) & 0xFFFFFFU;
}

QRgb ringColour(const QImage& image, int x, int y)
{
    return at(image, x, y);
}

}  // namespace

class TestPalettePictures : public QObject {
    Q_OBJECT
private slots:
    void redHasTheGivenRingsAndAPureInside()
    {
        const QImage red = drawPalettePicture(0, 1.0);
        QCOMPARE(red.size(), QSize(62, 62));
        const QRgb light[] = {rgb(255, 160, 160), rgb(255, 120, 120), rgb(255, 80, 80), rgb(255, 40, 40)};
        const QRgb dark[] = {rgb(95, 0, 0), rgb(135, 0, 0), rgb(175, 0, 0), rgb(215, 0, 0)};
        for (int ring = 0; ring < 4; ++ring) {
            for (int along = 4; along < 58; ++along) {
                QCOMPARE(ringColour(red, along, ring), light[ring]);      // top
                QCOMPARE(ringColour(red, ring, along), light[ring]);      // left
                QCOMPARE(ringColour(red, along, 61 - ring), dark[ring]);  // bottom
                QCOMPARE(ringColour(red, 61 - ring, along), dark[ring]);  // right
            }
        }
        for (int y = 4; y < 58; ++y) {
            for (int x = 4; x < 58; ++x)
                QCOMPARE(at(red, x, y), rgb(255, 0, 0));
        }
    }

    void otherColoursAreGradedLikeRed()
    {
        const QImage blue = drawPalettePicture(5, 1.0);
        QCOMPARE(at(blue, 30, 0), rgb(160, 160, 255));
        QCOMPARE(at(blue, 30, 3), rgb(40, 40, 255));
        QCOMPARE(at(blue, 30, 61), rgb(0, 0, 95));
        QCOMPARE(at(blue, 30, 58), rgb(0, 0, 215));
        QCOMPARE(at(blue, 30, 30), rgb(0, 0, 255));

        // Orange's green is neither 0 nor 255: 196 + 59 * 160 / 255 and 196 * 95 / 255, rounded.
        const QImage orange = drawPalettePicture(1, 1.0);
        QCOMPARE(at(orange, 0, 30), rgb(255, 233, 160));
        QCOMPARE(at(orange, 61, 30), rgb(95, 73, 0));
        QCOMPARE(at(orange, 30, 30), rgb(255, 196, 0));
    }

    // In each corner a pixel of ring r is light exactly when it lies on the top row or left
    // column of that ring, short of the top-right and bottom-left diagonal.
    void cornersSplitAlongTheDiagonal()
    {
        const QImage green = drawPalettePicture(3, 1.0);
        const QColor base(0, 255, 0);
        for (int y = 0; y < 62; ++y) {
            for (int x = 0; x < 62; ++x) {
                const int ring = std::min({x, y, 61 - x, 61 - y});
                if (ring >= 4)
                    continue;
                const bool light = (x + y < 61) && (x == ring || y == ring);
                const QColor expected = light ? kv::lightRing(base, ring) : kv::darkRing(base, ring);
                QVERIFY2(at(green, x, y) == (expected.rgb() & 0xFFFFFFU),
                         qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
            }
        }
        QCOMPARE(at(green, 0, 0), rgb(160, 255, 160));
        QCOMPARE(at(green, 61, 0), rgb(0, 95, 0));
        QCOMPARE(at(green, 60, 0), rgb(160, 255, 160));
        QCOMPARE(at(green, 0, 61), rgb(0, 95, 0));
        QCOMPARE(at(green, 61, 61), rgb(0, 95, 0));
    }

    void ratioTwoDrawsTwoDevicePixelsPerLogicalPixel()
    {
        const QImage red = drawPalettePicture(0, 2.0);
        QCOMPARE(red.size(), QSize(124, 124));
        QCOMPARE(red.devicePixelRatio(), 2.0);
        const QRgb light[] = {rgb(255, 160, 160), rgb(255, 120, 120), rgb(255, 80, 80), rgb(255, 40, 40)};
        for (int row = 0; row < 8; ++row)
            QCOMPARE(at(red, 60, row), light[row / 2]);
        for (int row = 116; row < 124; ++row) {
            const QRgb dark[] = {rgb(215, 0, 0), rgb(175, 0, 0), rgb(135, 0, 0), rgb(95, 0, 0)};
            QCOMPARE(at(red, 60, row), dark[(row - 116) / 2]);
        }
        QCOMPARE(at(red, 8, 8), rgb(255, 0, 0));
        QCOMPARE(at(red, 115, 115), rgb(255, 0, 0));
        // Logical pixel (60, 0) is light and (61, 0) dark: exactly two device columns each.
        QCOMPARE(at(red, 121, 0), rgb(255, 160, 160));
        QCOMPARE(at(red, 122, 0), rgb(95, 0, 0));
    }

    void jokerBandsRunRedToMagentaWithATintedBevel()
    {
        for (const qreal ratio : {1.0, 2.0}) {
            const QImage joker = drawPalettePicture(kv::kJokerEntry, ratio);
            const int inset = qRound(4 * ratio);
            std::vector<QRgb> order;
            for (int d = inset; d < joker.width() - inset; ++d) {
                const QRgb colour = at(joker, d, d);
                if (order.empty() || order.back() != colour)
                    order.push_back(colour);
            }
            std::vector<QRgb> expected;
            for (int k = 0; k < kv::kColourCount; ++k)
                expected.push_back(kv::paletteColour(k).rgb() & 0xFFFFFFU);
            QCOMPARE(order, expected);

            QCOMPARE(at(joker, 0, 0), rgb(255, 160, 160));
            const int last = joker.width() - 1;
            QCOMPARE(at(joker, last, last), rgb(95, 0, 95));
        }
    }

    void flashIsSpecklesOfRedToYellow()
    {
        for (const qreal ratio : {1.0, 2.0}) {
            const QImage flash = drawPalettePicture(kv::kFlashEntry, ratio);
            QSet<int> greens;
            for (int y = 0; y < flash.height(); ++y) {
                for (int x = 0; x < flash.width(); ++x) {
                    const QRgb pixel = flash.pixel(x, y);
                    QVERIFY2(qRed(pixel) == 255 && qBlue(pixel) == 0,
                             qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
                    greens.insert(qGreen(pixel));
                }
            }
            QVERIFY(greens.size() > 50);
            QVERIFY(*std::min_element(greens.begin(), greens.end()) < 32);
            QVERIFY(*std::max_element(greens.begin(), greens.end()) > 224);
        }
        QCOMPARE(drawPalettePicture(kv::kFlashEntry, 1.0), drawPalettePicture(kv::kFlashEntry, 1.0));
    }

    void blockedIsAChequerboardOfSixteenPixelCells()
    {
        const QImage blocked = drawPalettePicture(kv::kBlockedEntry, 1.0);
        const QRgb black = rgb(0, 0, 0);
        const QRgb grey = rgb(128, 128, 128);
        // Cell edges at 15, 31 and 47 leave a symmetric pattern around the centre line.
        auto cellOf = [](int v) { return (v + 1) / 16; };
        for (int y = 4; y < 58; ++y) {
            for (int x = 4; x < 58; ++x) {
                const bool even = (cellOf(x) + cellOf(y)) % 2 == 0;
                QCOMPARE(at(blocked, x, y), even ? black : grey);
            }
        }
        QVERIFY(at(blocked, 30, 20) != at(blocked, 31, 20));
        QCOMPARE(at(blocked, 31, 20), at(blocked, 46, 20));
        QCOMPARE(at(blocked, 30, 0), rgb(208, 208, 208));
        QCOMPARE(at(blocked, 30, 61), rgb(48, 48, 48));
    }

    void unknownEntryGivesNoPicture()
    {
        QVERIFY(drawPalettePicture(kv::kPaletteSize, 1.0).isNull());
        QVERIFY(!drawPalettePicture(0, 0.0).isNull());  // a nonsense ratio falls back to 1
        QCOMPARE(drawPalettePicture(0, 0.0).size(), QSize(62, 62));
    }

    void thePictureSetHoldsAllTenAtItsRatio()
    {
        const kv::PalettePictures pictures(2.0);
        for (int entry = 0; entry < kv::kPaletteSize; ++entry) {
            const QPixmap& picture = pictures.picture(static_cast<kv::PaletteIndex>(entry));
            QCOMPARE(picture.size(), QSize(124, 124));
            QCOMPARE(picture.devicePixelRatio(), 2.0);
            QCOMPARE(picture.toImage().convertToFormat(QImage::Format_RGB32),
                     drawPalettePicture(static_cast<kv::PaletteIndex>(entry), 2.0));
        }
    }
};

QTEST_MAIN(TestPalettePictures)
#include "test_palette_pictures.moc"
