#include "game/ui/widgets/bevel_frame.h"

#include <array>

namespace kv {

namespace {

struct FrameLine {
    int x1, y1, x2, y2;
    QRgb colour;
};

// Both end points belong to the line. The last line runs one pixel past the window's bottom
// edge; the clip removes it.
constexpr std::array<FrameLine, 16> kFrameLines = {{
    {0, 0, 799, 0, qRgb(0, 245, 0)},
    {0, 1, 799, 1, qRgb(0, 210, 0)},
    {0, 2, 799, 2, qRgb(0, 175, 0)},
    {0, 3, 799, 3, qRgb(0, 140, 0)},
    {0, 596, 799, 596, qRgb(0, 80, 0)},
    {0, 597, 799, 597, qRgb(0, 55, 0)},
    {0, 598, 799, 598, qRgb(0, 30, 0)},
    {0, 599, 799, 599, qRgb(0, 5, 0)},
    {0, 0, 0, 599, qRgb(0, 245, 0)},
    {1, 1, 1, 598, qRgb(0, 210, 0)},
    {2, 2, 2, 597, qRgb(0, 175, 0)},
    {3, 3, 3, 596, qRgb(0, 140, 0)},
    {796, 3, 796, 596, qRgb(0, 80, 0)},
    {797, 2, 797, 597, qRgb(0, 55, 0)},
    {798, 1, 798, 598, qRgb(0, 30, 0)},
    {799, 0, 799, 600, qRgb(0, 5, 0)},
}};

}  // namespace

void drawBevelFrame(QPainter& painter)
{
    // Filled one-pixel rectangles hit exactly the logical pixels at any whole pixel ratio,
    // whatever pen or antialiasing the painter carries.
    for (const FrameLine& line : kFrameLines) {
        painter.fillRect(QRect(QPoint(line.x1, line.y1), QPoint(line.x2, line.y2)), QColor(line.colour));
    }
}

}  // namespace kv
