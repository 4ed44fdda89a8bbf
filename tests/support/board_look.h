#pragma once

#include <array>
#include <string>

#include "tests/support/xwd_image.h"

namespace kv::x11test {

// What a board field shows on screen, judged from a few pixels around its centre.
enum class FieldLook {
    Free,      // the base colour RGB(230,255,230) only
    Coloured,  // one of the seven plain colours
    Blocked,   // the black and grey chequerboard
    Other,     // a joker, a flash or something half drawn
};

struct FieldOnScreen {
    FieldLook look = FieldLook::Other;
    Rgb colour;  // the plain colour of a Coloured field
    friend bool operator==(const FieldOnScreen&, const FieldOnScreen&) = default;
};

using BoardOnScreen = std::array<FieldOnScreen, 81>;

// Field (row r, column c) lies at 37 + 63c, 17 + 63r in the window, 62 pixels square.
int fieldCentreX(int index);
int fieldCentreY(int index);

// Reads the board of a window whose client area starts at (originX, originY) in the image.
BoardOnScreen readBoard(const XwdImage& screen, int originX, int originY);

int occupiedFields(const BoardOnScreen& board);

// Nine lines, one letter a field: '.' free, a colour's initial, '#' blocked, '?' other.
std::string describe(const BoardOnScreen& board);

}  // namespace kv::x11test
