#pragma once

#include <string>
#include <vector>

#include "tests/support/xwd_image.h"

namespace kv::x11test {

// A text panel of the window: its place in the client area and its background.
struct PanelPlace {
    int left, top, width, height;
    Rgb background;
};

// What a shown panel looks like inside its frame.
struct PanelOnScreen {
    // The panel's background shows just inside its frame at the top, and at the bottom left.
    bool covered = false;
    // A column along the right edge or a row along the bottom edge that is not all background:
    // a scroll bar, or text cut by the edge.
    bool rightEdgeClear = false;
    bool bottomEdgeClear = false;
    // Rows with text, as runs of [top, bottom] (window y), from the top down.
    struct Band {
        int top, bottom, right;
    };
    std::vector<Band> textBands;
    // Rows of background between the last text row and the bottom edge.
    int spaceBelowText = 0;
};

// The frame of the panels is at most `kPanelFrame` pixels wide.
inline constexpr int kPanelFrame = 3;

PanelOnScreen readPanel(const XwdImage& screen, int originX, int originY, const PanelPlace& place);

std::string describe(const PanelOnScreen& panel);

}  // namespace kv::x11test
