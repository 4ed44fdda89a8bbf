#include "tools/icon/icon_svg.h"

#include <QColor>
#include <QString>

#include "tools/icon/icon_fields.h"
#include "game/ui/widgets/bevel_colours.h"
#include "game/ui/widgets/palette_pictures.h"

namespace kv::icon {
namespace {

constexpr int kLast = kPictureSize - 1;

QString rect(int x, int y, int width, int height, const QColor& colour)
{
    return QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" fill=\"%5\"/>")
        .arg(x)
        .arg(y)
        .arg(width)
        .arg(height)
        .arg(colour.name());
}

// A coloured field with its bevel, as the game's pictures draw it: each ring light along the top
// and left edges up to the anti-diagonal corners, dark along the bottom and right.
QString colourSquare(const QColor& base)
{
    QString out = rect(0, 0, kPictureSize, kPictureSize, base);
    for (int ring = 0; ring < kBevelRings; ++ring) {
        const int span = kPictureSize - 2 * ring;
        const QColor light = lightRing(base, ring), dark = darkRing(base, ring);
        out += rect(ring, ring, span - 1, 1, light) + rect(ring, ring, 1, span - 1, light) +
               rect(ring, kLast - ring, span, 1, dark) + rect(kLast - ring, ring, 1, span, dark);
    }
    return out;
}

// The joker's bands cut the picture along lines x + y = const, from red at the top left to
// magenta at the bottom right; each band shows the field of its colour, bevel included.
QString jokerBands()
{
    QString out;
    const double diagonal = 2.0 * kPictureSize;
    for (int band = 0; band < kColourCount; ++band) {
        const double from = diagonal * band / kColourCount;
        const double to = band + 1 == kColourCount ? diagonal + 1 : diagonal * (band + 1) / kColourCount;
        out += QStringLiteral("<clipPath id=\"band%1\"><polygon points=\"%2,0 %3,0 0,%3 0,%2\"/></clipPath>")
                   .arg(band)
                   .arg(from, 0, 'f', 3)
                   .arg(to, 0, 'f', 3);
        out += QStringLiteral("<g clip-path=\"url(#band%1)\">").arg(band) +
               colourSquare(paletteColour(band)) + QStringLiteral("</g>");
    }
    return out;
}

}  // namespace

QByteArray iconSvg()
{
    const int side = 3 * kPictureSize;
    // Crisp edges: the fields abut, and smoothed edges would let seams show between them.
    QString out = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" "
                                 "viewBox=\"0 0 %1 %1\" shape-rendering=\"crispEdges\">\n")
                      .arg(side);
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column) {
            const PaletteIndex entry = kFields[row][column];
            out += QStringLiteral("<g transform=\"translate(%1 %2)\">")
                       .arg(column * kPictureSize)
                       .arg(row * kPictureSize) +
                   (entry == kJokerEntry ? jokerBands() : colourSquare(paletteColour(entry))) +
                   QStringLiteral("</g>\n");
        }
    out += QStringLiteral("</svg>\n");
    return out.toUtf8();
}

}  // namespace kv::icon
