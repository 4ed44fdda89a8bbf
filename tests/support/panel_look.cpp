#include "tests/support/panel_look.h"

#include <algorithm>

namespace kv::x11test {

PanelOnScreen readPanel(const XwdImage& screen, int originX, int originY, const PanelPlace& place)
{
    const int left = originX + place.left + kPanelFrame;
    const int top = originY + place.top + kPanelFrame;
    const int right = originX + place.left + place.width - 1 - kPanelFrame;
    const int bottom = originY + place.top + place.height - 1 - kPanelFrame;
    auto background = [&](int x, int y) { return screen.at(x, y) == place.background; };

    PanelOnScreen panel;
    // Left of any scroll bar and above the text.
    panel.covered = background(left, top) && background(left, bottom) && background((left + right) / 2, top);
    panel.rightEdgeClear = true;
    for (int y = top; y <= bottom; ++y)
        panel.rightEdgeClear = panel.rightEdgeClear && background(right, y);
    panel.bottomEdgeClear = true;
    for (int x = left; x <= right; ++x)
        panel.bottomEdgeClear = panel.bottomEdgeClear && background(x, bottom);

    int lastTextRow = top - 1;
    for (int y = top; y <= bottom; ++y) {
        int inkRight = -1;
        for (int x = left; x <= right; ++x)
            if (!background(x, y))
                inkRight = x;
        if (inkRight < 0)
            continue;
        if (!panel.textBands.empty() && panel.textBands.back().bottom == y - 1 - originY) {
            PanelOnScreen::Band& band = panel.textBands.back();
            band.bottom = y - originY;
            band.right = std::max(band.right, inkRight - originX);
        } else {
            panel.textBands.push_back({y - originY, y - originY, inkRight - originX});
        }
        lastTextRow = y;
    }
    panel.spaceBelowText = bottom - lastTextRow;
    return panel;
}

std::string describe(const PanelOnScreen& panel)
{
    std::string text = std::string("covered ") + (panel.covered ? "yes" : "no") + ", right edge " +
                       (panel.rightEdgeClear ? "clear" : "not clear") + ", bottom edge " +
                       (panel.bottomEdgeClear ? "clear" : "not clear") + ", " +
                       std::to_string(panel.spaceBelowText) + " rows below the text; text rows:";
    for (const PanelOnScreen::Band& band : panel.textBands)
        text += " " + std::to_string(band.top) + "-" + std::to_string(band.bottom) + "/" +
                std::to_string(band.right);
    return text;
}

}  // namespace kv::x11test
