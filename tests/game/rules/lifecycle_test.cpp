#include "tests/game/rules/rules_fakes.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

TEST(Lifecycle, StartClearsTheOldGameAndPlacesThreeDistinctFields)
{
    Table t;
    t.arrange({"123X*J...", ".........", ".........", ".........", ".........", ".........", ".........",
               ".........", "........."});
    t.game.board().setEnabled(7, false);
    t.game.state().score = 99;
    // The second and third places are drawn again while they repeat one.
    t.random.add({colour(0), fieldAt(10), colour(7), fieldAt(10), fieldAt(20)});
    t.random.add({colour(0), fieldAt(20), fieldAt(10), fieldAt(30)});
    t.game.startGame();

    EXPECT_EQ(t.board(), rowsText({".........", ".0.......", "..J......", "...0.....", ".........",
                                   ".........", ".........", ".........", "........."}));
    EXPECT_EQ(t.random.trace(), "S" + std::string(9, 'd'));
    EXPECT_EQ(t.game.state().score, 0);
    for (int i = 0; i < kFieldCount; ++i) {
        const Field& f = t.game.board().field(i);
        EXPECT_TRUE(f.enabled && f.draggable == f.picture.has_value()) << i;
    }
    EXPECT_EQ(t.outside.view.score, 0);
    EXPECT_FALSE(t.outside.view.startButton || t.outside.view.panelsOpen);
    EXPECT_EQ(t.outside.view.sounds, Strings{"placed"});
}

TEST(Lifecycle, AbortEmptiesAndUnlocksTheBoardButLeavesAPendingFlash)
{
    Table t;
    t.arrange({"11.X.....", ".........", ".........", ".........", ".........", ".........", ".........",
               ".........", "........."});
    t.game.state().score = 40;
    t.random.add({wipeOf(1)});
    t.game.colourWipe();
    for (int i = 0; i < kFieldCount; ++i)
        t.game.board().setEnabled(i, false);  // as after the end of a game

    t.game.abortGame();
    EXPECT_EQ(t.board(), rowsText({".........", ".........", ".........", ".........", ".........",
                                   ".........", ".........", ".........", "........."}));
    for (int i = 0; i < kFieldCount; ++i)
        EXPECT_TRUE(t.game.board().field(i).enabled && !t.game.board().field(i).draggable) << i;
    EXPECT_EQ(t.game.state().score, 0);
    EXPECT_EQ(t.outside.view.score, 0);
    EXPECT_TRUE(t.outside.view.startButton && !t.outside.view.panelsOpen && t.outside.view.flashing);

    t.game.flashTick();  // the flash still ends, with nothing to clear
    EXPECT_FALSE(t.outside.view.flashing);
    EXPECT_EQ(t.outside.log.back(), "timer off");
}

}  // namespace
}  // namespace kv::test
