// Plays many whole games through the rules engine and checks every invariant after every move.
//   soak_games [GAMES] [SEED]      (default: 10000 games, a seed from the system)
// The seed only chooses the moves; the game draws from the clock as it does in play. Prints
// the speed, the shortest and the longest game and what happened, and every fault found; ends
// with status 1 when there was one.
#include <cstdio>
#include <cstdlib>
#include <random>

#include "bench/soak/soak_run.h"

int main(int argc, char* argv[])
{
    kv::soak::SoakOptions options;
    if (argc > 1)
        options.games = std::atol(argv[1]);
    options.seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : std::random_device{}();
    if (options.games <= 0) {
        std::fprintf(stderr, "usage: soak_games [GAMES] [SEED]\n");
        return 2;
    }

    const kv::soak::SoakReport report = kv::soak::runSoak(options);
    const kv::soak::SoakCounts& c = report.counts;
    std::printf("seed %llu: %ld games, %ld moves in %.3f s: %.0f games/s, %.0f moves/s\n",
                static_cast<unsigned long long>(options.seed), report.games, report.moves, report.seconds,
                report.games / report.seconds, report.moves / report.seconds);
    std::printf("shortest game %d moves, longest %d moves\n", report.shortestGame, report.longestGame);
    std::printf("%ld stripes, %ld squares, %ld colour wipes, %ld blocked fields, %ld hits at the "
                "score limit, %ld highscore entries\n",
                c.stripes, c.squares, c.wipes, c.blockedFields, c.cappedHits, c.highscoreEntries);
    for (const std::string& fault : report.faults)
        std::printf("FAULT %s\n", fault.c_str());
    std::printf("%zu faults\n", report.faults.size());
    return report.faults.empty() ? 0 : 1;
}
