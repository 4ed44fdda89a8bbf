#include "tests/support/board_look.h"

#include <algorithm>

namespace kv::x11test {
namespace {

constexpr Rgb kBaseColour{230, 255, 230};

struct PlainColour {
    Rgb rgb;
    char letter;
};
constexpr PlainColour kPlainColours[] = {
    {{255, 0, 0}, 'r'},   {{255, 196, 0}, 'o'}, {{255, 255, 0}, 'y'}, {{0, 255, 0}, 'g'},
    {{0, 255, 255}, 'c'}, {{0, 0, 255}, 'b'},   {{255, 0, 255}, 'm'},
};

bool isPlainColour(Rgb c)
{
    return std::any_of(std::begin(kPlainColours), std::end(kPlainColours),
                       [c](const PlainColour& p) { return p.rgb == c; });
}

bool isChequer(Rgb c)
{
    return c == Rgb{0, 0, 0} || c == Rgb{128, 128, 128};
}

FieldOnScreen readField(const XwdImage& screen, int x, int y)
{
    // Nine points inside the 54-pixel plain centre of a colour picture; they also fall on both
    // colours of the blocked field's 16-pixel chequerboard.
    Rgb samples[9];
    int n = 0;
    for (int dy : {-12, 0, 12})
        for (int dx : {-12, 0, 12})
            samples[n++] = screen.at(x + dx, y + dy);
    auto all = [&](auto predicate) { return std::all_of(samples, samples + 9, predicate); };

    if (all([](Rgb c) { return c == kBaseColour; }))
        return {FieldLook::Free, kBaseColour};
    if (isPlainColour(samples[4]) && all([&](Rgb c) { return c == samples[4]; }))
        return {FieldLook::Coloured, samples[4]};
    if (all(isChequer))
        return {FieldLook::Blocked, {}};
    return {FieldLook::Other, {}};
}

}  // namespace

int fieldCentreX(int index)
{
    return 37 + 63 * (index % 9) + 31;
}

int fieldCentreY(int index)
{
    return 17 + 63 * (index / 9) + 31;
}

BoardOnScreen readBoard(const XwdImage& screen, int originX, int originY)
{
    BoardOnScreen board;
    for (int i = 0; i < 81; ++i)
        board[i] = readField(screen, originX + fieldCentreX(i), originY + fieldCentreY(i));
    return board;
}

int occupiedFields(const BoardOnScreen& board)
{
    return static_cast<int>(std::count_if(board.begin(), board.end(),
                                          [](const FieldOnScreen& f) { return f.look != FieldLook::Free; }));
}

std::string describe(const BoardOnScreen& board)
{
    std::string text;
    for (int i = 0; i < 81; ++i) {
        char letter = '?';
        if (board[i].look == FieldLook::Free)
            letter = '.';
        else if (board[i].look == FieldLook::Blocked)
            letter = '#';
        else if (board[i].look == FieldLook::Coloured)
            for (const PlainColour& p : kPlainColours)
                if (p.rgb == board[i].colour)
                    letter = p.letter;
        text += letter;
        text += i % 9 == 8 ? '\n' : ' ';
    }
    return text;
}

}  // namespace kv::x11test
