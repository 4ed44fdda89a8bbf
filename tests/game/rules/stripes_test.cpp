#include "rules_fakes.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

const Strings kStripeScored = {"sound sounds/sound3.wav 1", "tree", "score 4"};

struct StripeCase {
    const char* name;
    void (Game::*detector)();
    bool GameState::*flag;
    BoardRows before;
    BoardRows after; // equal to before: no stripe
};

class StripeDetector : public testing::TestWithParam<StripeCase> {};

TEST_P(StripeDetector, DissolvesOnlyTheFirstStripeInScanOrder)
{
    const StripeCase& c = GetParam();
    Table t;
    t.arrange(c.before);
    t.game.state().*c.flag = true; // a detector first forgets its last result
    (t.game.*c.detector)();

    const bool scored = rowsText(c.before) != rowsText(c.after);
    EXPECT_EQ(t.board(), rowsText(c.after));
    EXPECT_EQ(t.game.state().*c.flag, scored);
    EXPECT_EQ(t.game.state().Score, scored ? 4 : 0);
    EXPECT_EQ(t.outside.log, scored ? kStripeScored : Strings{});
    EXPECT_EQ(t.random.trace(), ""); // a stripe draws nothing
}

// clang-format off
const StripeCase kCases[] = {
    {"SixInARowFromTheLeft", &Game::Zeilen, &GameState::RowHitFlag,
     {".........", ".........", ".........", "333333...", ".........", ".........", ".........", ".........", "........."},
     {".........", ".........", ".........", ".....3...", ".........", ".........", ".........", ".........", "........."}},
    {"SixInARowToTheRightEdge", &Game::Zeilen, &GameState::RowHitFlag,
     {"...555555", ".........", ".........", ".........", ".........", ".........", ".........", ".........", "........."},
     {"........5", ".........", ".........", ".........", ".........", ".........", ".........", ".........", "........."}},
    {"UpperRowBeforeLowerRow", &Game::Zeilen, &GameState::RowHitFlag,
     {".........", ".........", ".........", ".........", "....11111", ".........", ".........", "22222....", "........."},
     {".........", ".........", ".........", ".........", ".........", ".........", ".........", "22222....", "........."}},
    {"ColumnOfSixLosesItsUpperFive", &Game::Spalten, &GameState::ColumnHitFlag,
     {".........", "..4......", "..4......", "..4......", "..4......", "..4......", "..4......", ".........", "........."},
     {".........", ".........", ".........", ".........", ".........", ".........", "..4......", ".........", "........."}},
    {"LeftColumnBeforeRightColumn", &Game::Spalten, &GameState::ColumnHitFlag,
     {"......0..", "......0..", "......0..", "......0.6", "......0.6", "........6", "........6", "........6", "........."},
     {".........", ".........", ".........", "........6", "........6", "........6", "........6", "........6", "........."}},
    {"JokersCountAsAnyColour", &Game::Zeilen, &GameState::RowHitFlag,
     {".........", ".........", ".........", ".........", ".........", ".........", ".........", ".........", "J2J2J...."},
     {".........", ".........", ".........", ".........", ".........", ".........", ".........", ".........", "........."}},
    {"OneColourAndFourJokers", &Game::Spalten, &GameState::ColumnHitFlag,
     {".........", ".........", ".........", ".........", "........J", "........J", "........6", "........J", "........J"},
     {".........", ".........", ".........", ".........", ".........", ".........", ".........", ".........", "........."}},
    {"FiveJokers", &Game::Zeilen, &GameState::RowHitFlag,
     {".........", "JJJJJ....", ".........", ".........", ".........", ".........", ".........", ".........", "........."},
     {".........", ".........", ".........", ".........", ".........", ".........", ".........", ".........", "........."}},
    {"TwoColoursWithAJokerAreNoStripe", &Game::Zeilen, &GameState::RowHitFlag,
     {"000J5....", "111X1....", "222*2....", "333.3....", "J5JJ6....", ".........", ".........", ".........", "........."},
     {"000J5....", "111X1....", "222*2....", "333.3....", "J5JJ6....", ".........", ".........", ".........", "........."}},
    {"FallingRightBeforeFallingLeft", &Game::Diagonalen, &GameState::DiagonalHitFlag,
     {"........4", ".......4.", "......4..", ".....4...", "2...4....", ".2.......", "..2......", "...2.....", "....2...."},
     {"........4", ".......4.", "......4..", ".....4...", "....4....", ".........", ".........", ".........", "........."}},
    {"FallingLeftFromTheTopRightCorner", &Game::Diagonalen, &GameState::DiagonalHitFlag,
     {"........4", ".......4.", "......J..", ".....4...", "....4....", ".........", ".........", ".........", "........."},
     {".........", ".........", ".........", ".........", ".........", ".........", ".........", ".........", "........."}},
    {"LinesThatWouldWrapAreNoCandidates", &Game::Diagonalen, &GameState::DiagonalHitFlag,
     {"...1..3..", "..1....3.", ".1......3", "1.......1", "3........", ".3.......", ".........", ".........", "........."},
     {"...1..3..", "..1....3.", ".1......3", "1.......1", "3........", ".3.......", ".........", ".........", "........."}},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Rules, StripeDetector, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace kv::test
