// Whole games through the rules engine with the clock-seeded generator, every invariant checked
// after every move.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "game/rules/game.h"
#include "bench/soak/watching_outside.h"

namespace kv::soak {

struct SoakOptions {
    long games = 10000;
    // Chooses the moves; the game's own draws come from the clock as in play.
    std::uint64_t seed = 1;
    // One move in this many is a click on a filled field instead of a drop on a free one.
    int clickOneIn = 5;
    // One drop in this many builds towards a square instead of landing anywhere: random drops
    // alone hardly ever form one.
    int buildingOneIn = 2;
    // One game in this many begins just below the score limit, so that the limit is reached.
    int nearLimitOneIn = 8;
    // A game that has not ended after this many moves is a fault.
    int maxMovesPerGame = 10000;
    // The run stops once this many faults are found.
    std::size_t maxFaults = 20;
    // Called before every move with the game, its number and the move's number; lets a test
    // break the game on purpose.
    std::function<void(Game&, long, int)> beforeMove;
};

struct SoakReport {
    long games = 0;
    long moves = 0;
    int shortestGame = 0;  // in moves
    int longestGame = 0;
    double seconds = 0;
    SoakCounts counts;
    std::vector<std::string> faults;
};

SoakReport runSoak(const SoakOptions& options);

}  // namespace kv::soak
