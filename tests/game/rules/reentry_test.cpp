#include "tests/game/rules/rules_fakes.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

const BoardRows kEmpty = {".........", ".........", ".........", ".........", ".........",
                          ".........", ".........", ".........", "........."};
// Dropping 80 on 36 completes the column; 8 and 17 stay.
const BoardRows kStripeMove = {"1.......2", "1.......3", "1........", "1........", ".........",
                               ".........", ".........", ".........", "........1"};
// Dropping 80 on 20 completes the square.
const BoardRows kSquareMove = {"444......", "444......", "44.......", ".........", ".........",
                               "*........", ".........", ".........", "........4"};

TEST(Reentry, AbortDuringAStripesTreeKeepsItsPointsOutOfTheNewGame)
{
    Table t;
    t.arrange(kStripeMove);
    t.game.state().score = 8;
    t.outside.onRegrowTree = [&] { t.game.abortGame(); };
    t.game.dropField(36, 80);

    EXPECT_EQ(t.board(), rowsText(kEmpty));
    EXPECT_EQ(t.game.state().score, 0);
    EXPECT_EQ(t.outside.view.score, 0);
    EXPECT_TRUE(t.outside.view.startButton);
    EXPECT_EQ(t.outside.view.sounds, Strings{"stripe"});
    EXPECT_EQ(t.random.trace(), "");

    // The interrupted move let go: the next one is handled in full.
    t.outside.onRegrowTree = nullptr;
    t.arrange(kStripeMove);
    t.game.dropField(36, 80);
    EXPECT_EQ(t.game.state().score, 4);
}

TEST(Reentry, StartDuringASquaresTreeGetsNeitherItsPointsNorItsWipe)
{
    Table t;
    t.arrange(kSquareMove);
    t.random.add({colour(4), fieldAt(1), colour(4), fieldAt(2), colour(4), fieldAt(3)});
    t.outside.onRegrowTree = [&] { t.game.startGame(); };
    t.game.dropField(20, 80);

    EXPECT_EQ(t.board(), rowsText({".444.....", ".........", ".........", ".........", ".........",
                                   ".........", ".........", ".........", "........."}));
    EXPECT_EQ(t.game.state().score, 0);
    EXPECT_EQ(t.random.trace(), "Sdddddd");  // the start's draws only
    EXPECT_EQ(t.outside.view.score, 0);
    EXPECT_FALSE(t.outside.view.startButton || t.outside.view.panelsOpen || t.outside.view.flashing);
    EXPECT_EQ(t.outside.view.sounds, (Strings{"square", "placed"}));
    for (int i = 0; i < kFieldCount; ++i)
        EXPECT_TRUE(t.game.board().field(i).enabled) << i;
}

TEST(Reentry, FlashTimerDuringTheTreeClearsItsFieldsAndTheSquareCarriesOn)
{
    Table t;
    t.arrange(kSquareMove);
    t.random.add({wipeOf(0)});
    t.outside.onRegrowTree = [&] { t.game.flashTick(); };
    t.game.dropField(20, 80);

    EXPECT_EQ(t.board(), rowsText(kEmpty));
    EXPECT_EQ(t.game.state().score, 17);
    EXPECT_EQ(t.outside.view.score, 17);
    EXPECT_TRUE(t.outside.view.flashing);  // the square's own wipe flashes after the tick
}

TEST(Reentry, DropDuringTheTreeIsIgnored)
{
    Table t;
    t.arrange(kStripeMove);
    t.outside.onRegrowTree = [&] { t.game.dropField(40, 8); };
    t.game.dropField(36, 80);

    EXPECT_EQ(t.board(), rowsText({"........2", "........3", ".........", ".........", ".........",
                                   ".........", ".........", ".........", "........."}));
    EXPECT_EQ(t.random.trace(), "");
    EXPECT_EQ(t.game.state().score, 4);
}

TEST(Reentry, AbortDuringTheSecondPassSkipsTheRandomEvents)
{
    Table t;
    t.arrange({"5........", "5........", "5........", "5........", ".........", ".........", ".........",
               ".........", "........1"});
    t.random.add({colour(5), fieldAt(36), colour(1), fieldAt(50), colour(2), fieldAt(60)});
    t.outside.onRegrowTree = [&] { t.game.abortGame(); };
    t.game.dropField(80, 80);

    EXPECT_EQ(t.board(), rowsText(kEmpty));
    EXPECT_EQ(t.random.trace(), "dddddd");
    EXPECT_EQ(t.game.state().score, 0);
}

TEST(Reentry, AbortDuringTheFullBoardPassesEndsNoGame)
{
    Table t;
    std::string board = chequer();
    put(board, 0, '.');
    put(board, 1, '.');
    for (int i : {9, 18, 27, 36})
        put(board, i, '6');
    t.arrange(board);
    t.random.add({colour(6), fieldAt(0), colour(0), fieldAt(1)});
    t.outside.onRegrowTree = [&] { t.game.abortGame(); };
    t.game.dropField(40, 40);

    EXPECT_EQ(t.board(), rowsText(kEmpty));
    EXPECT_FALSE(t.game.state().gameOver);
    EXPECT_EQ(t.outside.view.score, 0);
    EXPECT_TRUE(t.outside.view.startButton);
    EXPECT_EQ(t.outside.view.sounds, Strings{"stripe"});
    for (int i = 0; i < kFieldCount; ++i)
        EXPECT_TRUE(t.game.board().field(i).enabled) << i;
}

}  // namespace
}  // namespace kv::test
