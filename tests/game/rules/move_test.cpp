#include "tests/game/rules/rules_fakes.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

const Strings kFieldsPlaced = {"sound placed"};
const Strings kStripeScored = {"sound stripe", "tree", "score 4"};

// Three new fields in the bottom-right corner and no random event.
void scriptFruitless(ScriptedRandom& random)
{
    random.add({colour(3), fieldAt(80), colour(4), fieldAt(79), colour(7), fieldAt(78)});
    random.add({kNoChance, wipeOf(5), kNoChance, fieldAt(0)});
}
constexpr const char* kFruitlessTrace = "ddddddSddSdd";

TEST(Move, ValidDropCarriesTheFieldAndRunsTheWholeFruitlessSequence)
{
    Table t;
    t.arrange({"12.......", ".........", ".........", ".........", ".........", ".........", ".........",
               ".........", "........."});
    // The first new place is the moved field's target: drawn again.
    t.random.add({colour(3), fieldAt(40), fieldAt(80), colour(4), fieldAt(79), colour(7), fieldAt(78)});
    t.random.add({kNoChance, wipeOf(5), kNoChance, fieldAt(0)});
    t.game.dropField(40, 0);

    EXPECT_EQ(t.board(), rowsText({".2.......", ".........", ".........", ".........", "....1....",
                                   ".........", ".........", ".........", "......J43"}));
    const Field& source = t.game.board().field(0);
    EXPECT_TRUE(source.code == "0" && !source.picture && source.draggable);  // vacated, still draggable
    EXPECT_TRUE(t.game.board().field(40).draggable);
    EXPECT_EQ(t.random.trace(), "dddddddSddSdd");
    EXPECT_EQ(t.random.remaining(), 0U);
    EXPECT_EQ(t.outside.log, kFieldsPlaced);
}

struct FruitlessDrop {
    const char* name;
    int index;
    int source;
};

class FruitlessMove : public testing::TestWithParam<FruitlessDrop> {};

TEST_P(FruitlessMove, ChangesNothingButBringsThreeNewFields)
{
    Table t;
    t.arrange({"12X*.....", ".........", ".........", ".........", ".........", ".........", ".........",
               ".........", "........."});
    t.game.board().setDraggable(5, true);  // vacated by an earlier move
    scriptFruitless(t.random);
    t.game.dropField(GetParam().index, GetParam().source);

    EXPECT_EQ(t.board(), rowsText({"12X*.....", ".........", ".........", ".........", ".........",
                                   ".........", ".........", ".........", "......J43"}));
    EXPECT_EQ(t.random.trace(), kFruitlessTrace);
    EXPECT_EQ(t.outside.log, kFieldsPlaced);
}

INSTANTIATE_TEST_SUITE_P(Rules, FruitlessMove,
                         testing::Values(FruitlessDrop{"OntoAColour", 1, 0},
                                         FruitlessDrop{"OntoItself", 0, 0},
                                         FruitlessDrop{"FromAVacatedField", 6, 5},
                                         FruitlessDrop{"OntoABlockedField", 2, 0},
                                         FruitlessDrop{"OntoAMarkedField", 3, 0},
                                         // the flash timer cleared the dragged field before the drop
                                         FruitlessDrop{"OfAFieldClearedDuringTheDrag", 6, 4}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Move, DropsTheBoardCouldNotDeliverAreIgnored)
{
    Table t;
    const BoardRows rows = {"12.......", ".........", ".........", ".........", ".........",
                            ".........", ".........", ".........", "........."};
    t.arrange(rows);
    t.game.board().setEnabled(8, false);
    t.game.board().setEnabled(1, false);
    for (auto [index, source] : {std::pair{81, 0}, {-1, 0}, {4, 81}, {4, -32768}, {8, 0}, {7, 1}})
        t.game.dropField(index, source);

    EXPECT_EQ(t.board(), rowsText(rows));
    EXPECT_EQ(t.random.trace(), "");
    EXPECT_TRUE(t.outside.log.empty());
}

TEST(Move, CrossingColumnAndRowScoreOnlyTheColumn)
{
    Table t;
    t.arrange({"....2....", "....2....", "....2....", "....2....", "2222.....", ".........", ".........",
               ".........", "........2"});
    t.game.dropField(40, 80);

    EXPECT_EQ(t.board(), rowsText({".........", ".........", ".........", ".........", "2222.....",
                                   ".........", ".........", ".........", "........."}));
    EXPECT_EQ(t.game.state().score, 4);
    EXPECT_EQ(t.random.trace(), "");  // a scoring move places nothing
    EXPECT_EQ(t.outside.log, kStripeScored);
}

TEST(Move, StripeThroughACompletedSquareWinsAndBreaksIt)
{
    Table t;
    t.arrange({"333......", "333......", "33.33....", ".........", ".........", ".........", ".........",
               ".........", "........3"});
    t.game.dropField(20, 80);

    EXPECT_EQ(t.board(), rowsText({"333......", "333......", ".........", ".........", ".........",
                                   ".........", ".........", ".........", "........."}));
    EXPECT_EQ(t.game.state().score, 4);
    EXPECT_EQ(t.random.trace(), "");  // no colour wipe
}

TEST(Move, FiguresLeftOnTheBoardAreScoredByTheNextDrops)
{
    Table t;
    // A falling diagonal already stands; the move completes a square.
    t.arrange({"....5....", ".....5...", "......5..", ".......5.", "........5", ".....1...", "111......",
               "111......", "11......."});
    t.game.dropField(74, 50);
    EXPECT_EQ(t.board(), rowsText({".........", ".........", ".........", ".........", ".........",
                                   ".........", "111......", "111......", "111......"}));
    EXPECT_EQ(t.game.state().score, 4);

    // A plain click on the square now scores it, and still no new fields.
    t.random.add({wipeOf(6)});
    t.game.dropField(54, 54);
    EXPECT_EQ(t.board(), rowsText({".........", ".........", ".........", ".........", ".........",
                                   ".........", ".........", ".........", "........."}));
    EXPECT_EQ(t.game.state().score, 21);
    EXPECT_EQ(t.random.trace(), "Sd");
}

TEST(Move, NewFieldsCompletingTwoColumnsScoreOneNowAndOneOnTheNextClick)
{
    Table t;
    t.arrange({"1.......1", "1.......1", "1.......1", "1.......1", ".........", ".........", ".........",
               ".........", "....5...."});
    t.random.add({colour(1), fieldAt(36), colour(1), fieldAt(44), colour(2), fieldAt(60)});
    t.random.add({kNoChance, wipeOf(0), kNoChance, fieldAt(0)});
    t.game.dropField(77, 76);

    EXPECT_EQ(t.board(), rowsText({"........1", "........1", "........1", "........1", "........1",
                                   ".........", "......2..", ".........", ".....5..."}));
    EXPECT_EQ(t.random.trace(), kFruitlessTrace);  // the random events ran after the hit

    t.game.dropField(77, 77);
    EXPECT_EQ(t.board(), rowsText({".........", ".........", ".........", ".........", ".........",
                                   ".........", "......2..", ".........", ".....5..."}));
    EXPECT_EQ(t.random.trace(), kFruitlessTrace);
    Strings expected = kFieldsPlaced;
    expected.insert(expected.end(), kStripeScored.begin(), kStripeScored.end());
    expected.insert(expected.end(), {"sound stripe", "tree", "score 8"});
    EXPECT_EQ(t.outside.log, expected);
}

TEST(Move, MarkedFieldMovedDuringAFlashIsClearedAtItsNewPlace)
{
    Table t;
    t.arrange({".........", ".*.......", ".........", ".........", ".........", ".........", ".........",
               ".........", "........."});
    scriptFruitless(t.random);
    t.game.dropField(50, 10);
    EXPECT_EQ(t.board(), rowsText({".........", ".........", ".........", ".........", ".........",
                                   ".....*...", ".........", ".........", "......J43"}));

    t.game.flashTick();
    EXPECT_EQ(t.board(), rowsText({".........", ".........", ".........", ".........", ".........",
                                   ".........", ".........", ".........", "......J43"}));
    EXPECT_FALSE(t.game.board().field(50).draggable);
    EXPECT_EQ(t.outside.log, (Strings{"sound placed", "background 0,127,0", "frame", "timer off"}));
}

}  // namespace
}  // namespace kv::test
