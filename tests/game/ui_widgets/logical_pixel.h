// Reading a grab or a canvas image in logical pixels at any pixel ratio.
#pragma once

#include <QColor>
#include <QImage>

namespace kv::test {

// The colour of logical pixel (x, y); invalid unless every device pixel inside it has that
// colour, so a blurred or half-covered line does not pass.
inline QColor logicalPixel(const QImage& image, int x, int y)
{
    const int ratio = qRound(image.devicePixelRatio());
    const QColor colour = image.pixelColor(x * ratio, y * ratio);
    for (int dy = 0; dy < ratio; ++dy)
        for (int dx = 0; dx < ratio; ++dx)
            if (image.pixelColor(x * ratio + dx, y * ratio + dy) != colour)
                return QColor();
    return colour;
}

}  // namespace kv::test
