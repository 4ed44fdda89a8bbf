#include "tests/game/rules/rules_fakes.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

TEST(Scoring, ScoreHoldsAtTheLargestSixteenBitValue)
{
    Table t;
    t.arrange({"555......", "555......", "555......", ".........", ".........", ".........", ".........",
               ".........", "11111...."});
    t.game.state().score = 32760;
    t.random.add({wipeOf(0)});
    t.game.detectUpperSquares();
    EXPECT_EQ(t.game.state().score, 32767);
    t.game.detectRows();
    EXPECT_EQ(t.game.state().score, 32767);
    EXPECT_EQ(t.outside.log, (Strings{"sound square", "tree", "score 32767", "background 240,240,70",
                                      "timer on", "sound stripe", "tree", "score 32767"}));
}

TEST(Scoring, HitsOfOnePassAddUpOneByOne)
{
    Table t;
    t.arrange({"1...333..", "1...333..", "1...33...", "1........", ".........", ".........", ".........",
               ".........", "....2222."});
    t.random.add({colour(1), fieldAt(36), colour(2), fieldAt(80), colour(3), fieldAt(24)});
    t.random.add({wipeOf(5), kNoChance, wipeOf(0), kNoChance, fieldAt(0)});
    t.game.dropField(0, 0);

    EXPECT_EQ(t.board(), rowsText({".........", ".........", ".........", ".........", ".........",
                                   ".........", ".........", ".........", "........."}));
    EXPECT_EQ(t.game.state().score, 25);
    EXPECT_EQ(t.random.trace(), "ddddddSdSddSdd");
    EXPECT_EQ(t.outside.log,
              (Strings{"sound placed", "sound stripe", "tree", "score 4", "sound stripe", "tree", "score 8",
                       "sound square", "tree", "score 25", "background 240,240,70", "timer on"}));
}

TEST(Scoring, WithSoundOffHitsAreScoredInSilence)
{
    Table t;
    t.arrange({"JJJJJ....", ".........", ".........", ".........", ".........", ".........", ".........",
               ".........", "........."});
    t.game.state().soundOn = false;
    t.game.detectRows();
    EXPECT_EQ(t.outside.log, (Strings{"tree", "score 4"}));
}

}  // namespace
}  // namespace kv::test
