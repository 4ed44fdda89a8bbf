#include "game/ui/widgets/palette_pictures.h"

#include <QPainter>
#include <QtMath>
#include <algorithm>
#include <cstdint>

#include "game/ui/widgets/bevel_colours.h"

namespace kv {

namespace {

constexpr int kLast = kPictureSize - 1;

// Ring `ring` is the square outline at that distance from the edges. Its top row and left column
// are light up to the anti-diagonal corners, which belong to the dark right column and bottom row:
// the corners split along the diagonal.
bool isLightBevelPixel(int x, int y, int ring)
{
    return (y == ring && x <= kLast - 1 - ring) || (x == ring && y <= kLast - 1 - ring);
}

int ringOf(int x, int y)
{
    return std::min({x, y, kLast - x, kLast - y});
}

void drawBevel(QPainter& painter, const QColor& base)
{
    for (int ring = 0; ring < kBevelRings; ++ring) {
        const int span = kPictureSize - 2 * ring;
        const QColor light = lightRing(base, ring);
        const QColor dark = darkRing(base, ring);
        painter.fillRect(QRect(ring, ring, span - 1, 1), light);
        painter.fillRect(QRect(ring, ring, 1, span - 1), light);
        painter.fillRect(QRect(ring, kLast - ring, span, 1), dark);
        painter.fillRect(QRect(kLast - ring, ring, 1, span), dark);
    }
}

void drawColourSquare(QPainter& painter, const QColor& colour)
{
    painter.fillRect(QRect(0, 0, kPictureSize, kPictureSize), colour);
    drawBevel(painter, colour);
}

// Sixteen-pixel cells centred on the picture, so the pattern is symmetric inside the bevel.
void drawBlocked(QPainter& painter)
{
    constexpr int kCell = 16;
    constexpr int kOffset = kCell - (kPictureSize / 2) % kCell;  // a cell edge at the centre line
    const QColor black(0, 0, 0);
    const QColor grey(128, 128, 128);
    for (int row = 0; row * kCell - kOffset < kPictureSize; ++row) {
        for (int column = 0; column * kCell - kOffset < kPictureSize; ++column) {
            painter.fillRect(QRect(column * kCell - kOffset, row * kCell - kOffset, kCell, kCell),
                             (row + column) % 2 == 0 ? black : grey);
        }
    }
    drawBevel(painter, grey);
}

// The joker's bands run from the top-left corner (red) to the bottom-right corner (magenta).
// They are worked out per device pixel, so their edges stay fine at a higher ratio, while the
// bevel rings keep whole logical pixels.
void drawJoker(QImage& image, qreal ratio)
{
    const qreal diagonal = 2.0 * kPictureSize;
    for (int dy = 0; dy < image.height(); ++dy) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(dy));
        const qreal ly = (dy + 0.5) / ratio;
        for (int dx = 0; dx < image.width(); ++dx) {
            const qreal lx = (dx + 0.5) / ratio;
            const int band =
                std::clamp(static_cast<int>((lx + ly) / diagonal * kColourCount), 0, kColourCount - 1);
            const QColor bandColour = paletteColour(band);
            const int x = std::clamp(static_cast<int>(lx), 0, kLast);
            const int y = std::clamp(static_cast<int>(ly), 0, kLast);
            const int ring = ringOf(x, y);
            QColor colour = bandColour;
            if (ring < kBevelRings) {
                colour =
                    isLightBevelPixel(x, y, ring) ? lightRing(bandColour, ring) : darkRing(bandColour, ring);
            }
            line[dx] = colour.rgb();
        }
    }
}

// A fixed seed keeps the flash the same on every run, which screenshots and tests rely on.
class SpeckleRandom {
public:
    std::uint64_t next()
    {
        state_ += 0x9E3779B97F4A7C15ULL;
        std::uint64_t z = state_;
        z = (z ^ (z >> 30U)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27U)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31U);
    }
    // Uniform in [0, 1).
    double unit() { return static_cast<double>(next() >> 11U) * 0x1.0p-53; }

private:
    std::uint64_t state_ = 0x4B41525645U;
};

// Overlapping blobs of different sizes and shades of RGB(255, g, 0); aliased, so every pixel
// keeps exactly one of those shades.
void drawFlash(QPainter& painter)
{
    painter.fillRect(QRect(0, 0, kPictureSize, kPictureSize), QColor(255, 128, 0));
    painter.setPen(Qt::NoPen);
    SpeckleRandom random;
    constexpr int kSpeckles = 420;
    for (int i = 0; i < kSpeckles; ++i) {
        const qreal cx = random.unit() * kPictureSize;
        const qreal cy = random.unit() * kPictureSize;
        const qreal rx = 0.8 + random.unit() * 3.2;
        const qreal ry = 0.8 + random.unit() * 3.2;
        const int green = static_cast<int>(random.next() % 256U);
        painter.setBrush(QColor(255, green, 0));
        painter.drawEllipse(QPointF(cx, cy), rx, ry);
    }
}

}  // namespace

QImage drawPalettePicture(PaletteIndex entry, qreal devicePixelRatio)
{
    if (entry >= kPaletteSize)
        return {};
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    const int side = std::max(1, qRound(kPictureSize * ratio));
    QImage image(side, side, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::black);

    if (entry == kJokerEntry) {
        drawJoker(image, ratio);
        return image;
    }
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (entry < kColourCount) {
        drawColourSquare(painter, paletteColour(entry));
    } else if (entry == kFlashEntry) {
        drawFlash(painter);
    } else {
        drawBlocked(painter);
    }
    return image;
}

PalettePictures::PalettePictures(qreal devicePixelRatio) : devicePixelRatio_(devicePixelRatio) {}

const QPixmap& PalettePictures::picture(PaletteIndex entry) const
{
    QPixmap& picture = pictures_.at(entry);
    if (picture.isNull())
        picture = QPixmap::fromImage(drawPalettePicture(entry, devicePixelRatio_));
    return picture;
}

}  // namespace kv
