#pragma once
// Dialog units to pixels. The dialogs were laid out for MS Sans Serif 8 pt,
// whose classic base is 6 x 13 pixels: one unit is a quarter of the average
// character width across and an eighth of its height down. The base is fixed
// rather than measured so that the windows keep their proportions whatever
// font stands in for it.

class QWidget;

namespace setup {

constexpr int dluX(int units)
{
    return (units * 6 + 2) / 4;
}
constexpr int dluY(int units)
{
    return (units * 13 + 4) / 8;
}

// Places `widget` at a rectangle given in dialog units.
void placeInUnits(QWidget* widget, int x, int y, int width, int height);
// Gives a dialog its fixed client size in dialog units and centres it on the
// primary screen.
void sizeAndCentre(QWidget* dialog, int width, int height);

}  // namespace setup
