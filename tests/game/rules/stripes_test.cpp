#include "tests/game/rules/rules_fakes.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

const Strings kStripeScored = {"sound stripe", "tree", "score 4"};

struct StripeCase {
    const char* name;
    void (Game::*detector)();
    bool GameState::*flag;
    BoardRows before;
    BoardRows after;  // equal to before: no stripe
};

class StripeDetector : public testing::TestWithParam<StripeCase> {};

TEST_P(StripeDetector, DissolvesOnlyTheFirstStripeInScanOrder)
{
    const StripeCase& c = GetParam();
    Table t;
    t.arrange(c.before);
    t.game.state().*c.flag = true;  // a detector first forgets its last result
    (t.game.*c.detector)();

    const bool scored = rowsText(c.before) != rowsText(c.after);
    EXPECT_EQ(t.board(), rowsText(c.after));
    EXPECT_EQ(t.game.state().*c.flag, scored);
    EXPECT_EQ(t.game.state().score, scored ? 4 : 0);
    EXPECT_EQ(t.outside.log, scored ? kStripeScored : Strings{});
    EXPECT_EQ(t.random.trace(), "");  // a stripe draws nothing
}

// clang-format off
const StripeCase kCases[] = {
    {"SixInARowFromTheLeft", &Game::detectRows, &GameState::rowHit,
     {".........", ".........", ".........", "333333...", ".........", ".........", ".........", ".........", "........."},
     {".........", ".........", ".........", ".....3...", ".........", ".........", ".........", ".........", "........."}},
    {"SixInARowToTheRightEdge", &Game::detectRows, &GameState::rowHit,
     {"...555555", ".........", ".........", ".........", ".........", ".........", ".........", ".........", "........."},
     {"........5", ".........", ".........", ".........", ".........", ".........", ".........", ".........", "........."}},
    {"UpperRowBeforeLowerRow", &Game::detectRows, &GameState::rowHit,
     {".........", ".........", ".........", ".........", "....11111", ".........", ".........", "22222....", "........."},
     {".........", ".........", ".........", ".........", ".........", ".........", ".........", "22222....", "........."}},
    {"ColumnOfSixLosesItsUpperFive", &Game::detectColumns, &GameState::columnHit,
     {".........", "..4......", "..4......", "..4......", "..4......", "..4......", "..4......", ".........", "........."},
     {".........", ".........", ".........", ".........", ".........", ".........", "..4......", ".........", "........."}},
    {"LeftColumnBeforeRightColumn", &Game::detectColumns, &GameState::columnHit,
     {"......0..", "......0..", "......0..", "......0.6", "......0.6", "........6", "........6", "........6", "........."},
     {".........", ".........", ".........", "........6", "........6", "........6", "........6", "........6", "........."}},
    {"JokersCountAsAnyColour", &Game::detectRows, &GameState::rowHit,
     {".........", ".........", ".........", ".........", ".........", ".........", ".........", ".........", "J2J2J...."},
     {".........", ".........", ".........", ".........", ".........", ".........", ".........", ".........", "........."}},
    {"OneColourAndFourJokers", &Game::detectColumns, &GameState::columnHit,
     {".........", ".........", ".........", ".........", "........J", "........J", "........6", "........J", "........J"},
     {".........", ".........", ".........", ".........", ".........", ".........", ".........", ".........", "........."}},
    {"FiveJokers", &Game::detectRows, &GameState::rowHit,
     {".........", "JJJJJ....", ".........", ".........", ".........", ".........", ".........", ".........", "........."},
     {".........", ".........", ".........", ".........", ".........", ".........", ".........", ".........", "........."}},
    {"TwoColoursWithAJokerAreNoStripe", &Game::detectRows, &GameState::rowHit,
     {"000J5....", "111X1....", "222*2....", "333.3....", "J5JJ6....", ".........", ".........", ".........", "........."},
     {"000J5....", "111X1....", "222*2....", "333.3....", "J5JJ6....", ".........", ".........", ".........", "........."}},
    {"FallingRightBeforeFallingLeft", &Game::detectDiagonals, &GameState::diagonalHit,
     {"........4", ".......4.", "......4..", ".....4...", "2...4....", ".2.......", "..2......", "...2.....", "....2...."},
     {"........4", ".......4.", "......4..", ".....4...", "....4....", ".........", ".........", ".........", "........."}},
    {"FallingLeftFromTheTopRightCorner", &Game::detectDiagonals, &GameState::diagonalHit,
     {"........4", ".......4.", "......J..", ".....4...", "....4....", ".........", ".........", ".........", "........."},
     {".........", ".........", ".........", ".........", ".........", ".........", ".........", ".........", "........."}},
    {"LinesThatWouldWrapAreNoCandidates", &Game::detectDiagonals, &GameState::diagonalHit,
     {"...1..3..", "..1....3.", ".1......3", "1.......1", "3........", ".3.......", ".........", ".........", "........."},
     {"...1..3..", "..1....3.", ".1......3", "1.......1", "3........", ".3.......", ".........", ".........", "........."}},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Rules, StripeDetector, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kv::test
