// A few hundred soaked games, and the soak's checks shown to catch a broken game.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "bench/soak/board_checks.h"
#include "bench/soak/soak_run.h"

namespace kv::soak {
namespace {

std::string allFaults(const SoakReport& report)
{
    std::string text;
    for (const std::string& fault : report.faults)
        text += fault + "\n";
    return text;
}

TEST(Soak, HundredsOfGamesKeepEveryInvariant)
{
    SoakOptions options;
    options.games = 400;
    options.seed = testing::UnitTest::GetInstance()->random_seed();
    const SoakReport report = runSoak(options);

    EXPECT_TRUE(report.faults.empty()) << "moves chosen with seed " << options.seed << "\n"
                                       << allFaults(report);
    EXPECT_EQ(report.games, options.games);
    // Every check had something to look at.
    const SoakCounts& seen = report.counts;
    EXPECT_GT(seen.stripes, 0);
    EXPECT_GT(seen.squares, 0);
    EXPECT_GT(seen.wipes, seen.squares);
    EXPECT_GT(seen.blockedFields, 0);
    EXPECT_GT(seen.cappedHits, 0);
    EXPECT_GT(seen.highscoreEntries, 0);
    EXPECT_LT(seen.highscoreEntries, report.games);
}

Field fieldOf(PaletteIndex entry)
{
    Board board;
    board.fillField(0, entry);
    return board.field(0);
}

std::vector<ClearedField> cleared(const std::vector<int>& indices, const std::vector<int>& entries)
{
    std::vector<ClearedField> fields;
    for (std::size_t n = 0; n < indices.size(); ++n)
        fields.push_back({indices[n], fieldOf(static_cast<PaletteIndex>(entries[n]))});
    return fields;
}

TEST(Soak, HitsAreCheckedForTheirShapeAndColour)
{
    constexpr int J = kJokerEntry;
    constexpr int X = kBlockedEntry;
    struct Case {
        const char* what;
        std::vector<int> fields;
        std::vector<int> entries;
        bool square;
        bool fine;
    };
    const std::vector<Case> cases{
        {"column", {4, 13, 22, 31, 40}, {2, 2, J, 2, 2}, false, true},
        {"falling-to-the-left diagonal", {8, 16, 24, 32, 40}, {J, J, J, J, J}, false, true},
        {"row that wraps", {7, 8, 9, 10, 11}, {1, 1, 1, 1, 1}, false, false},
        {"four fields", {0, 1, 2, 3}, {1, 1, 1, 1}, false, false},
        {"two colours", {0, 10, 20, 30, 40}, {1, 1, 1, 3, 1}, false, false},
        {"a blocked field", {0, 1, 2, 3, 4}, {5, 5, X, 5, 5}, false, false},
        {"block", {60, 61, 62, 69, 70, 71, 78, 79, 80}, {6, 6, 6, J, 6, 6, 6, 6, 6}, true, true},
        {"block that wraps", {7, 8, 9, 16, 17, 18, 25, 26, 27}, {0, 0, 0, 0, 0, 0, 0, 0, 0}, true, false},
        {"block of eight", {0, 1, 2, 9, 10, 11, 18, 19}, {0, 0, 0, 0, 0, 0, 0, 0}, true, false},
    };
    for (const Case& c : cases) {
        const auto fields = cleared(c.fields, c.entries);
        const auto fault = c.square ? squareFault(fields) : stripeFault(fields);
        EXPECT_EQ(!fault.has_value(), c.fine) << c.what << ": " << fault.value_or("no fault");
    }
}

TEST(Soak, ABrokenGameIsCaught)
{
    // Each breaks the first game before one of its moves, as a faulty rule could.
    struct Case {
        const char* what;
        std::function<void(Game&, int)> breakIt;
        const char* fault;
    };
    const auto firstFieldThatIs = [](const Game& game, bool filled) {
        for (int i = 0; i < kFieldCount; ++i)
            if (game.board().field(i).picture.has_value() == filled)
                return i;
        return 0;
    };
    const std::vector<Case> cases{
        {"a field with the code of another palette entry",
         [&](Game& game, int move) {
             if (move != 4)
                 return;
             const int field = firstFieldThatIs(game, true);
             const int other = (*game.board().field(field).picture + 1) % (kJokerEntry + 1);
             game.board().setCode(field, FieldCode(kPaletteCodes[static_cast<std::size_t>(other)]));
         },
         "not each free, a colour, a joker, blocked or marked"},
        {"a point lost",
         [](Game& game, int move) {
             if (move == 4)
                 --game.state().score;
         },
         "was shown"},
        {"a blocked field freed",
         [&](Game& game, int move) {
             static int blocked = -1;
             if (move == 2) {
                 blocked = firstFieldThatIs(game, false);
                 game.board().setPicture(blocked, kBlockedEntry);
                 game.board().setCode(blocked, FieldCode(kBlockedCode));
                 game.board().setDraggable(blocked, false);
             } else if (move == 3) {
                 game.board().clearField(blocked);
             }
         },
         "did not stay blocked"},
        {"a field changed behind the view's back",
         [&](Game& game, int move) {
             if (move == 4)
                 game.board().fillField(firstFieldThatIs(game, false), 3);
         },
         "changed without being shown"},
    };
    for (const Case& c : cases) {
        SoakOptions options;
        options.games = 1;
        options.nearLimitOneIn = 0;
        options.beforeMove = [&](Game& game, long, int move) { c.breakIt(game, move); };
        const SoakReport report = runSoak(options);
        EXPECT_NE(allFaults(report).find(c.fault), std::string::npos)
            << c.what << " went unnoticed; faults:\n"
            << allFaults(report);
    }
}

}  // namespace
}  // namespace kv::soak
