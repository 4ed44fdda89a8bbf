#include "tests/game/rules/rules_fakes.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

struct ChanceCase {
    double r;
    bool happens;
};

class RandomWipeChance : public testing::TestWithParam<ChanceCase> {};

// The colour is drawn either way; the wipe needs r * 7.1, rounded to four
// places, strictly above 7.
TEST_P(RandomWipeChance, WipesOnlyAboveSevenAtFourPlaces)
{
    Table t;
    t.arrange({"2.2......", ".........", ".........", ".........", ".........", ".........", ".........",
               ".........", "....3...."});
    t.random.add({GetParam().r, wipeOf(2)});
    t.game.randomColourWipe();

    EXPECT_EQ(t.random.trace(), "Sdd");
    EXPECT_EQ(t.board().substr(0, 3), GetParam().happens ? "*.*" : "2.2");
    EXPECT_EQ(t.outside.log.size(), GetParam().happens ? 2U : 0U);
}

INSTANTIATE_TEST_SUITE_P(Rules, RandomWipeChance,
                         testing::Values(ChanceCase{0.0, false}, ChanceCase{7.0 / 7.1, false},
                                         ChanceCase{7.00004 / 7.1, false}, ChanceCase{7.00006 / 7.1, true},
                                         ChanceCase{7.0001 / 7.1, true}, ChanceCase{kChance, true}));

class RandomBlockChance : public testing::TestWithParam<ChanceCase> {};

TEST_P(RandomBlockChance, BlocksOnlyAboveNineAtFourPlaces)
{
    Table t;
    t.arrange({"1........", ".........", ".........", ".........", ".........", ".........", ".........",
               ".........", "........."});
    // The first place is drawn either way; it is taken, so a block redraws.
    t.random.add({GetParam().r, fieldAt(0)});
    if (GetParam().happens)
        t.random.add({fieldAt(0), fieldAt(5)});
    t.game.randomBlockedField();

    EXPECT_EQ(t.random.remaining(), 0U);
    EXPECT_EQ(t.board().substr(0, 9), GetParam().happens ? "1....X..." : "1........");
    EXPECT_FALSE(t.game.board().field(5).draggable);
    EXPECT_EQ(t.outside.log, GetParam().happens ? Strings{"sound blocked wait"} : Strings{});
}

INSTANTIATE_TEST_SUITE_P(Rules, RandomBlockChance,
                         testing::Values(ChanceCase{0.0, false}, ChanceCase{9.0 / 9.36, false},
                                         ChanceCase{9.00004 / 9.36, false}, ChanceCase{9.00006 / 9.36, true},
                                         ChanceCase{kChance, true}));

TEST(RandomEvents, BlockedFieldOnAFullBoardDrawsButPlacesNothing)
{
    Table t;
    t.arrange(chequer());
    t.random.add({kChance, fieldAt(0)});
    t.game.randomBlockedField();
    EXPECT_EQ(t.board(), chequer());
    EXPECT_EQ(t.random.trace(), "Sdd");
    EXPECT_TRUE(t.outside.log.empty());
}

TEST(RandomEvents, JokerWipeFlashesJokersAndEarlierMarksAndTheTimerClearsThem)
{
    Table t;
    t.arrange({"J1J*X....", ".........", ".........", ".........", ".........", ".........", ".........",
               ".........", "........."});
    t.outside.logFields = true;
    t.random.add({wipeOf(7)});
    t.game.colourWipe();
    EXPECT_EQ(t.random.trace(), "Sd");
    EXPECT_EQ(t.board().substr(0, 9), "*1**X....");
    EXPECT_EQ(t.game.board().field(0).picture, Picture{kFlashEntry});
    EXPECT_TRUE(t.game.board().field(0).draggable);  // marked fields can still be moved

    t.game.flashTick();
    EXPECT_EQ(t.board().substr(0, 9), ".1..X....");
    EXPECT_FALSE(t.game.board().field(2).draggable);
    EXPECT_EQ(t.outside.log,
              (Strings{"background 240,240,70", "field 0", "field 2", "field 3", "timer on", "field 0",
                       "field 2", "field 3", "background 0,127,0", "frame", "timer off"}));
}

TEST(RandomEvents, WipeOfAnAbsentColourOnlyFlashes)
{
    Table t;
    const BoardRows rows = {"J1J.X....", ".........", ".........", ".........", ".........",
                            ".........", ".........", ".........", "........."};
    t.arrange(rows);
    t.random.add({wipeOf(5)});
    t.game.colourWipe();
    t.game.flashTick();
    EXPECT_EQ(t.board(), rowsText(rows));
    EXPECT_EQ(t.outside.log,
              (Strings{"background 240,240,70", "timer on", "background 0,127,0", "frame", "timer off"}));
}

}  // namespace
}  // namespace kv::test
