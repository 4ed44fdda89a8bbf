// The colours of the palette and of the four-pixel bevel around a picture.
#pragma once

#include <QColor>

#include "game/rules/palette.h"

namespace kv {

inline constexpr int kBevelRings = 4;

// The pure colour of palette entries 0..6 (red, orange, yellow, green, cyan, blue, magenta).
QColor paletteColour(int colourEntry);

// Ring 0 is the outermost. The light rings lie along the top and left edges, the dark rings along
// the bottom and right edges; both grow closer to `base` towards the inside.
QColor lightRing(const QColor& base, int ring);
QColor darkRing(const QColor& base, int ring);

}  // namespace kv
