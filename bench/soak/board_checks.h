// What a board may look like at any moment of a game, judged from the fields' pictures and
// codes alone, without the detectors' tables.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "game/rules/board.h"

namespace kv::soak {

enum class FieldKind { Free, Coloured, Joker, Blocked, Marked, Inconsistent };

// A field is in exactly one of the five states when its picture, code and draggability agree;
// anything else is Inconsistent. A field vacated by a move is Free but still draggable.
FieldKind classify(const Field& field);

struct FieldCounts {
    std::array<int, 6> byKind{};  // indexed by FieldKind
    int of(FieldKind kind) const { return byKind[static_cast<std::size_t>(kind)]; }
    int total() const;
};
FieldCounts countFields(const Board& board);

// The fields as they were just before a hit cleared them.
struct ClearedField {
    int index;
    Field before;
};

// Whether the cleared fields are exactly the five of one straight line (a column, a row or one
// of the two diagonals) or the nine of one 3 x 3 block, and held one colour before, jokers
// counting as any. Empty when they are; otherwise what is wrong.
std::optional<std::string> stripeFault(const std::vector<ClearedField>& cleared);
std::optional<std::string> squareFault(const std::vector<ClearedField>& cleared);

// The board as nine lines: '.' free, '0'-'6' a colour, 'J' joker, 'X' blocked, '*' marked,
// '?' inconsistent.
std::string boardText(const Board& board);

}  // namespace kv::soak
