// The raised green bevel along the edges of the 800 x 600 main window.
#pragma once

#include <QPainter>

namespace kv {

// Sixteen single-pixel lines, top and bottom first, so that the left and right lines overwrite
// the corners. Drawn in logical pixels: at a pixel ratio of 2 each line is two device pixels wide.
void drawBevelFrame(QPainter& painter);

}  // namespace kv
