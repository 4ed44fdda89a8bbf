#include "tests/game/rules/rules_fakes.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

TEST(NewFields, WithRoomLeftThreeFieldsFillOnlyFreePlacesAndNothingIsDetected)
{
    Table t;
    t.arrange({"11111....", "XJ*2.....", ".........", ".........", ".........", ".........", ".........",
               ".........", "........."});
    // Each occupied kind is drawn once before a free place turns up.
    t.random.add({0.975, fieldAt(0), fieldAt(9), fieldAt(10), fieldAt(11), fieldAt(12), fieldAt(40)});
    t.random.add({0.9749, fieldAt(41), 0.0, fieldAt(42)});
    t.game.state().gameOver = true;
    t.game.placeNewFields();

    // 0.975 * 7.18 = 7.0005 is the joker, 0.9749 * 7.18 = 6.9998 magenta.
    EXPECT_EQ(t.board(), rowsText({"11111....", "XJ*2.....", ".........", ".........", "....J60..",
                                   ".........", ".........", ".........", "........."}));
    EXPECT_FALSE(t.game.state().gameOver);
    EXPECT_EQ(t.random.trace(), std::string(11, 'd'));
    EXPECT_EQ(t.outside.log, Strings{"sound placed"});
}

TEST(NewFields, FillingTheLastThreeRunsTheDetectorsInsteadOfTheSound)
{
    Table t;
    std::string board = chequer();
    for (int i : {72, 73, 74})
        put(board, i, '.');
    put(board, 75, '6');
    put(board, 76, '6');
    t.arrange(board);
    t.random.add({colour(6), fieldAt(72), colour(6), fieldAt(73), colour(6), fieldAt(74)});
    t.game.placeNewFields();

    for (int i : {72, 73, 74, 75, 76})
        put(board, i, '.');
    EXPECT_EQ(t.board(), board);
    EXPECT_FALSE(t.game.state().gameOver);
    EXPECT_EQ(t.outside.log, (Strings{"sound stripe", "tree", "score 4"}));
}

TEST(NewFields, AFullBoardGetsThreeCompletePasses)
{
    Table t;
    std::string board = chequer();
    for (int row = 0; row < 5; ++row)
        for (int column : {0, 2, 4})
            put(board, 9 * row + column, '0');
    put(board, 36, '.');
    put(board, 38, '.');
    t.arrange(board);
    t.random.add({colour(0), fieldAt(36), colour(0), fieldAt(38)});
    t.game.placeNewFields();

    // One column per pass, in scan order; each pass runs every detector.
    for (int row = 0; row < 5; ++row)
        for (int column : {0, 2, 4})
            put(board, 9 * row + column, '.');
    EXPECT_EQ(t.board(), board);
    EXPECT_EQ(t.game.state().score, 12);
    EXPECT_FALSE(t.game.state().gameOver);
    EXPECT_EQ(t.random.trace(), "dddd");  // the third placement found no room
}

TEST(NewFields, MarkedGapsCountAsFullAndAreClearedOnTheEndedBoard)
{
    Table t;
    std::string board = chequer();
    put(board, 0, '.');
    put(board, 1, '*');
    t.arrange(board);
    t.random.add({colour(3), fieldAt(0)});
    t.game.placeNewFields();

    EXPECT_TRUE(t.game.state().gameOver);
    EXPECT_EQ(t.outside.log, Strings{"sound over wait"});
    t.game.flashTick();
    EXPECT_TRUE(t.game.board().isFree(1));
    for (int i = 0; i < kFieldCount; ++i)
        EXPECT_FALSE(t.game.board().field(i).enabled) << i;
}

}  // namespace
}  // namespace kv::test
