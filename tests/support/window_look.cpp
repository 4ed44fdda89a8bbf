#include "tests/support/window_look.h"

#include <algorithm>
#include <map>

namespace kv::x11test {
namespace {

constexpr Rgb kBlack{0, 0, 0};

// Text is drawn in black; anti-aliasing leaves its strokes at least this dark.
bool isDark(Rgb c)
{
    return std::max({c.r, c.g, c.b}) < 100;
}

int darkPixels(const XwdImage& screen, const WindowGeometry& window, const Box& box)
{
    int count = 0;
    for (int y = box.top; y < box.top + box.height; ++y)
        for (int x = box.left; x < box.left + box.width; ++x)
            count += isDark(screen.at(window.x + x, window.y + y));
    return count;
}

// The fewest dark pixels that count as text: a short word at the dialog font has hundreds.
constexpr int kTextPixels = 12;

}  // namespace

std::string lookOfFramedWindow(const XwdImage& screen, const WindowGeometry& window, Rgb background,
                               const std::vector<Expectation>& expectations)
{
    std::string wrong;
    const int w = window.width;
    const int h = window.height;
    auto expectPixel = [&](int x, int y, Rgb want, const char* what) {
        const Rgb seen = screen.at(window.x + x, window.y + y);
        if (!(seen == want))
            wrong += std::string(what) + " at (" + std::to_string(x) + "," + std::to_string(y) + ") is " +
                     toString(seen) + " instead of " + toString(want) + "\n";
    };
    for (int i = 1; i < 4; ++i) {
        expectPixel(w * i / 4, 0, kBlack, "top frame");
        expectPixel(w * i / 4, h - 1, kBlack, "bottom frame");
        expectPixel(0, h * i / 4, kBlack, "left frame");
        expectPixel(w - 1, h * i / 4, kBlack, "right frame");
        expectPixel(w * i / 4, 2, background, "background below the top frame");
        expectPixel(w * i / 4, h - 3, background, "background above the bottom frame");
        expectPixel(2, h * i / 4, background, "background beside the left frame");
        expectPixel(w - 3, h * i / 4, background, "background beside the right frame");
    }
    for (const Expectation& e : expectations) {
        const int dark = darkPixels(screen, window, e.box);
        switch (e.kind) {
        case Expectation::Kind::Text:
            if (dark < kTextPixels)
                wrong += e.what + " shows no text (" + std::to_string(dark) + " dark pixels)\n";
            break;
        case Expectation::Kind::NoText:
            if (dark != 0)
                wrong += e.what + " shows " + std::to_string(dark) + " dark pixels\n";
            break;
        case Expectation::Kind::ColourAtRightEnd:
            expectPixel(e.box.left + e.box.width - 3, e.box.top + e.box.height / 2, e.colour, e.what.c_str());
            break;
        }
    }
    return wrong;
}

bool drawnWithText(const XwdImage& screen, const WindowGeometry& window)
{
    std::map<int, int> counts;
    int dark = 0;
    for (int y = window.y; y < window.y + window.height; ++y)
        for (int x = window.x; x < window.x + window.width; ++x) {
            const Rgb c = screen.at(x, y);
            ++counts[c.r << 16 | c.g << 8 | c.b];
            dark += c.r + c.g + c.b < 270;
        }
    int commonest = 0, face = 0;
    for (const auto& [colour, n] : counts)
        if (n > commonest) {
            commonest = n;
            face = colour;
        }
    const bool lightFace = (face >> 16 & 255) + (face >> 8 & 255) + (face & 255) >= 3 * 150;
    return lightFace && commonest * 10 > window.width * window.height * 4 && dark > 30;
}

}  // namespace kv::x11test
