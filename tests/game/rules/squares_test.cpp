#include "tests/game/rules/rules_fakes.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

struct SquareCase {
    const char* name;
    void (Game::*detector)();
    bool GameState::*flag;
    int wipe;  // palette entry the wipe draws, -1 if nothing is found
    BoardRows before;
    BoardRows after;
};

class SquareDetector : public testing::TestWithParam<SquareCase> {};

TEST_P(SquareDetector, DissolvesTheFirstBlockAndWipesAColour)
{
    const SquareCase& c = GetParam();
    Table t;
    t.arrange(c.before);
    if (c.wipe >= 0)
        t.random.add({wipeOf(c.wipe)});
    (t.game.*c.detector)();

    const bool scored = c.wipe >= 0;
    EXPECT_EQ(t.board(), rowsText(c.after));
    EXPECT_EQ(t.game.state().*c.flag, scored);
    EXPECT_EQ(t.game.state().score, scored ? 17 : 0);
    EXPECT_EQ(t.random.trace(), scored ? "Sd" : "");
    const Strings scoredLog = {"sound square", "tree", "score 17", "background 240,240,70", "timer on"};
    EXPECT_EQ(t.outside.log, scored ? scoredLog : Strings{});
}

// clang-format off
const SquareCase kCases[] = {
    {"ThreeByFourKeepsTheRightColumn", &Game::detectUpperSquares, &GameState::upperSquareHit, 6,
     {"1111.....", "1111.....", "1111.....", ".........", ".........", ".........", ".........", ".........", "........."},
     {"...1.....", "...1.....", "...1.....", ".........", ".........", ".........", ".........", ".........", "........."}},
    {"FourByThreeKeepsTheBottomRow", &Game::detectUpperSquares, &GameState::upperSquareHit, 6,
     {".........", "..555....", "..555....", "..555....", "..555....", ".........", ".........", ".........", "........."},
     {".........", ".........", ".........", ".........", "..555....", ".........", ".........", ".........", "........."}},
    {"RowsThreeToFiveAreUpper", &Game::detectUpperSquares, &GameState::upperSquareHit, 2,
     {".........", ".........", "........2", "333......", "3J3......", "333......", "....2....", ".........", "2........"},
     {".........", ".........", "........*", ".........", ".........", ".........", "....*....", ".........", "*........"}},
    {"RowsThreeToFiveAreNotLower", &Game::detectLowerSquares, &GameState::lowerSquareHit, -1,
     {".........", ".........", ".........", "333......", "3J3......", "333......", ".........", ".........", "........."},
     {".........", ".........", ".........", "333......", "3J3......", "333......", ".........", ".........", "........."}},
    {"RowsFourToSixAreLower", &Game::detectLowerSquares, &GameState::lowerSquareHit, 7,
     {"J........", ".........", ".........", ".........", "JJJ......", "JJJ......", "JJJ....J.", "........J", "........."},
     {"*........", ".........", ".........", ".........", ".........", ".........", ".......*.", "........*", "........."}},
    {"RowsFourToSixAreNotUpper", &Game::detectUpperSquares, &GameState::upperSquareHit, -1,
     {".........", ".........", ".........", ".........", "JJJ......", "JJJ......", "JJJ......", ".........", "........."},
     {".........", ".........", ".........", ".........", "JJJ......", "JJJ......", "JJJ......", ".........", "........."}},
    {"BottomRightCornerWithAWipeOfAnAbsentColour", &Game::detectLowerSquares, &GameState::lowerSquareHit, 4,
     {".........", ".........", ".........", ".........", ".........", ".........", "......000", "......0J0", "......000"},
     {".........", ".........", ".........", ".........", ".........", ".........", ".........", ".........", "........."}},
    {"MixedColoursBlockedOrMarkedAreNoSquare", &Game::detectUpperSquares, &GameState::upperSquareHit, -1,
     {"000111*22", "0J0111222", "005X11222", ".........", ".........", ".........", ".........", ".........", "........."},
     {"000111*22", "0J0111222", "005X11222", ".........", ".........", ".........", ".........", ".........", "........."}},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Rules, SquareDetector, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SquareScoring, BoardIsLockedFromBeforeTheTreeUntilAfterTheWipe)
{
    Table t;
    t.arrange({"666......", "666......", "666......", ".........", ".........", ".........", ".........",
               ".........", "3......3."});
    t.game.board().setEnabled(80, false);  // even a field that was off ends up enabled
    t.random.add({wipeOf(3)});
    t.outside.logFields = true;
    t.game.detectUpperSquares();

    Strings expected;
    for (int i : {0, 1, 2, 9, 10, 11, 18, 19, 20})
        expected.push_back("field " + std::to_string(i));
    auto allFields = [&] {
        for (int i = 0; i < kFieldCount; ++i)
            expected.push_back("field " + std::to_string(i));
    };
    allFields();
    for (const char* s :
         {"sound square", "tree", "score 17", "background 240,240,70", "field 72", "field 79", "timer on"})
        expected.push_back(s);
    allFields();
    EXPECT_EQ(t.outside.log, expected);

    bool lockedDuringTree = false;
    t.outside.onRegrowTree = [&] { lockedDuringTree = !t.game.board().field(50).enabled; };
    t.arrange({"666......", "666......", "666......", ".........", ".........", ".........", ".........",
               ".........", "........."});
    t.random.add({wipeOf(0)});
    t.game.detectUpperSquares();
    EXPECT_TRUE(lockedDuringTree);
    for (int i = 0; i < kFieldCount; ++i)
        EXPECT_TRUE(t.game.board().field(i).enabled) << i;
}

}  // namespace
}  // namespace kv::test
