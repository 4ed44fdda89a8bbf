#pragma once

#include <string>
#include <vector>

#include "tests/support/x_server.h"
#include "tests/support/xwd_image.h"

namespace kv::x11test {

// A box of a window's client area, in window pixels.
struct Box {
    int left, top, width, height;
};

// Something a window must show inside a box: text (a few dark pixels), no text, or a plain
// colour on its right-hand end (where left-aligned text leaves the background free).
struct Expectation {
    enum class Kind { Text, NoText, ColourAtRightEnd };
    std::string what;
    Box box;
    Kind kind = Kind::Text;
    Rgb colour{};
};

// How a window of the game looks on screen: its background just inside the one-pixel black
// frame along its edges, and every expectation. Returns what is wrong, empty when nothing is.
std::string lookOfFramedWindow(const XwdImage& screen, const WindowGeometry& window, Rgb background,
                               const std::vector<Expectation>& expectations);

// Whether a dialog shows on screen inside `window`: mostly one light face colour (not the black
// of an empty screen) with some dark text on it.
bool drawnWithText(const XwdImage& screen, const WindowGeometry& window);

}  // namespace kv::x11test
