#include "bench/soak/soak_run.h"

#include <algorithm>
#include <chrono>
#include <limits>

#include "game/rules/random_source.h"
#include "bench/soak/move_choice.h"

namespace kv::soak {
namespace {

// Every hit reaches the limit from here.
constexpr std::int16_t kNearLimit = std::numeric_limits<std::int16_t>::max() - 2;
// After the end a few more drops are tried; none may change anything.
constexpr int kDropsAfterTheEnd = 3;

class Player {
public:
    Player(const SoakOptions& options, SoakReport& report)
        : options_(options), report_(report),
          choice_(options.seed, options.clickOneIn, options.buildingOneIn), outside_(report.faults),
          game_(outside_, random_)
    {
        outside_.watch(game_);
    }

    // Plays one game to its end; returns its number of moves.
    int playGame(long number)
    {
        const std::string name = "game " + std::to_string(number);
        outside_.setPlace(name + " start");
        outside_.gameStarting();
        game_.startGame();
        game_.state().lowestHighscore = static_cast<std::int16_t>(choice_.below(60));
        if (options_.nearLimitOneIn > 0 && number % options_.nearLimitOneIn == 0)
            game_.state().score = kNearLimit;
        outside_.gameStarted();

        int moves = 0;
        while (!outside_.gameEnded() && !tooManyFaults()) {
            if (moves == options_.maxMovesPerGame) {
                report_.faults.push_back(name + " did not end after " + std::to_string(moves) + " moves");
                break;
            }
            ++moves;
            outside_.setPlace(name + ", move " + std::to_string(moves));
            if (options_.beforeMove)
                options_.beforeMove(game_, number, moves);
            playMove();
            fireFlashTimer();
        }
        outside_.setPlace(name + " after its end");
        checkNoMoreMoves();
        return moves;
    }

    bool tooManyFaults() const { return report_.faults.size() >= options_.maxFaults; }
    const SoakCounts& counts() const { return outside_.counts(); }

private:
    void playMove()
    {
        const std::optional<Drop> drop = choice_.next(game_.board());
        if (!drop) {
            report_.faults.push_back("a running game has no field to move\n" + boardText(game_.board()));
            return;
        }
        outside_.moveStarting();
        game_.dropField(drop->target, drop->source);
        outside_.moveDone();
    }

    void fireFlashTimer()
    {
        if (!outside_.flashPending())
            return;
        game_.flashTick();
        outside_.timerFired();
    }

    // The board is disabled: drops, a click among them, change nothing and call nothing.
    void checkNoMoreMoves()
    {
        fireFlashTimer();
        const Board before = game_.board();
        const long calls = outside_.calls();
        const std::int16_t score = game_.state().score;
        for (int n = 0; n < kDropsAfterTheEnd; ++n) {
            const int source = choice_.below(kFieldCount);
            game_.dropField(n == 0 ? source : choice_.below(kFieldCount), source);
        }
        bool unchanged = outside_.calls() == calls && game_.state().score == score;
        for (int i = 0; i < kFieldCount && unchanged; ++i) {
            const Field& a = before.field(i);
            const Field& b = game_.board().field(i);
            unchanged = a.picture == b.picture && a.code == b.code && a.enabled == b.enabled;
        }
        if (!unchanged)
            report_.faults.push_back("a game that is over still took a move");
    }

    const SoakOptions& options_;
    SoakReport& report_;
    MoveChoice choice_;
    ClockRandom random_;
    WatchingOutside outside_;
    Game game_;
};

}  // namespace

SoakReport runSoak(const SoakOptions& options)
{
    SoakReport report;
    Player player(options, report);
    report.shortestGame = std::numeric_limits<int>::max();
    const auto begin = std::chrono::steady_clock::now();
    for (long number = 1; number <= options.games && !player.tooManyFaults(); ++number) {
        const int moves = player.playGame(number);
        ++report.games;
        report.moves += moves;
        report.shortestGame = std::min(report.shortestGame, moves);
        report.longestGame = std::max(report.longestGame, moves);
    }
    report.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    if (report.games == 0)
        report.shortestGame = 0;
    report.counts = player.counts();
    return report;
}

}  // namespace kv::soak
