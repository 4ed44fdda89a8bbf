#include "tests/game/rules/rules_fakes.h"

#include <gtest/gtest.h>

namespace kv::test {
namespace {

struct EndCase {
    const char* name;
    bool byBlockedField;  // otherwise the new fields fill the board
    int lowestHighscore;  // the game ends with 30 points
};

class GameEnd : public testing::TestWithParam<EndCase> {};

TEST_P(GameEnd, LocksTheBoardAndEntersOnlyAResultAboveTheLowest)
{
    const EndCase& c = GetParam();
    Table t;
    std::string board = chequer();
    Strings expected;
    if (c.byBlockedField) {
        for (int i : {0, 1, 2, 3})
            put(board, i, '.');
        t.random.add({colour(3), fieldAt(0), colour(3), fieldAt(1), colour(3), fieldAt(2)});
        // The blocked field's first place is taken; the redraw finds the last gap.
        t.random.add({kNoChance, wipeOf(0), kChance, fieldAt(40), fieldAt(3)});
        expected = {"sound placed", "sound blocked wait"};
    } else {
        put(board, 0, '.');
        put(board, 1, '.');
        t.random.add({colour(3), fieldAt(0), colour(4), fieldAt(0), fieldAt(1)});
    }
    t.arrange(board);
    t.game.state().score = 30;
    t.game.state().lowestHighscore = static_cast<std::int16_t>(c.lowestHighscore);
    t.game.dropField(40, 40);

    expected.push_back("sound over wait");
    if (30 > c.lowestHighscore)
        expected.push_back("highscore 30");
    EXPECT_EQ(t.outside.log, expected);
    EXPECT_EQ(t.random.remaining(), 0U);  // nothing drawn after the end
    EXPECT_EQ(t.game.state().gameOver, !c.byBlockedField);
    EXPECT_FALSE(t.game.board().hasFreeField());
    for (int i = 0; i < kFieldCount; ++i)
        EXPECT_FALSE(t.game.board().field(i).enabled) << i;

    // The ended board takes no more moves until an abort.
    const std::string ended = t.board();
    t.game.dropField(40, 40);
    EXPECT_EQ(t.board(), ended);
    EXPECT_EQ(t.outside.log, expected);
}

INSTANTIATE_TEST_SUITE_P(Rules, GameEnd,
                         testing::Values(EndCase{"InNewFieldsEqualScore", false, 30},
                                         EndCase{"InNewFieldsOnePointMore", false, 29},
                                         EndCase{"ByBlockedFieldEqualScore", true, 30},
                                         EndCase{"ByBlockedFieldOnePointMore", true, 29}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GameEnd, WithSoundOffNothingIsPlayedOrWaitedFor)
{
    Table t;
    std::string board = chequer();
    put(board, 0, '.');
    t.arrange(board);
    t.game.state().soundOn = false;
    t.random.add({colour(3), fieldAt(0)});
    t.game.dropField(40, 40);
    EXPECT_TRUE(t.game.state().gameOver);
    EXPECT_TRUE(t.outside.log.empty());
}

}  // namespace
}  // namespace kv::test
