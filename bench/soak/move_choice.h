// The soak's player: which field to drop where, chosen at random from its own seeded generator.
#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <vector>

#include "game/rules/board.h"

namespace kv::soak {

struct Drop {
    int source;
    int target;  // the source itself for a click
};

class MoveChoice {
public:
    // One move in `clickOneIn` is a click on a filled field; of the other drops one in
    // `buildingOneIn` builds towards a square, the rest land on any free field.
    MoveChoice(std::uint64_t seed, int clickOneIn, int buildingOneIn);

    // A drag starts only on a filled field the view lets go, and a legal drop lands on a free
    // one. None when no field can be dragged.
    std::optional<Drop> next(const Board& board);

    // A number from 0 to n - 1.
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(generator_); }

private:
    int anyOf(const std::vector<int>& fields);
    void buildSquare(const Board& board, const std::vector<int>& filled, Drop& drop);

    std::mt19937_64 generator_;
    int clickOneIn_;
    int buildingOneIn_;
};

}  // namespace kv::soak
