// The surface a tree is drawn on: twips, origin top-left, y growing downwards.
#pragma once

namespace kv {

class TreeCanvas {
public:
    virtual ~TreeCanvas() = default;

    // Size of the drawing area inside the border, in twips.
    virtual double innerWidth() const = 0;
    virtual double innerHeight() const = 0;

    // Fills the whole area with the background colour.
    virtual void clear() = 0;
    // Width in pixels of the lines drawn from now on.
    virtual void setLineWidth(int pixels) = 0;
    // A straight line in the foreground colour between two points given in twips.
    virtual void drawLine(int x1, int y1, int x2, int y2) = 0;
};

}  // namespace kv
