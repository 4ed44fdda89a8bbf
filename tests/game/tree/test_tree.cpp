#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "game/tree/tree.h"
#include "tests/game/tree/tree_fakes.h"

namespace kv {
namespace {

using test::EventLog;
using test::Line;
using test::RecordingCanvas;
using test::ScriptedRandom;

constexpr double kHeight = 2220;

std::map<int, int> linesPerWidth(const std::vector<Line>& lines)
{
    std::map<int, int> counts;
    for (const Line& line : lines)
        ++counts[line.width];
    return counts;
}

struct TreeFixture : ::testing::Test {
    EventLog log;
    int yields = 0;
    RecordingCanvas canvas{2280, kHeight, log};
    ScriptedRandom random{{}, log, 0.5};  // every r = 0.5: no turns, three children, 3/4 lengths
    Tree tree{canvas, random, [this] {
                  ++yields;
                  log.push_back("yield");
              }};
};

TEST_F(TreeFixture, TrunkFillsTheHeightAndRisesInStepsOfFive)
{
    tree.regrow();
    EXPECT_EQ(tree.settings().treeLength, 672);  // (2220 - 10) / 3.2880859 = 672.1
    EXPECT_EQ(tree.settings().treeX, 1140);
    EXPECT_EQ(tree.settings().treeY, 2215);
    ASSERT_GE(canvas.lines.size(), 135u);
    for (int step = 0; step < 134; ++step) {
        EXPECT_EQ(canvas.lines[step], (Line{1140, 2215 - 5 * step, 1140, 2210 - 5 * step, 4})) << step;
    }
    EXPECT_EQ(canvas.lines[134].width, 3);  // the first branch starts at the trunk's end
    EXPECT_EQ(canvas.lines[134].y1, 2215 - 5 * 134);
}

TEST_F(TreeFixture, TrunkFootIsTheRoundedCanvasSizeHalvedInSixteenBits)
{
    struct Case {
        double width, height;
        int treeX, treeY;
    };
    const Case cases[] = {
        {2281.5, 2224.5, 1141, 2220},     // 2282 / 2 and 2219.5 -> 2220: halves go to even
        {2280.5, 2223.5, 1140, 2218},     // 2280 / 2 and 2218.5 -> 2218
        {40000.6, kHeight, 20000, 2215},  // only the half is stored in 16 bits: 40001 halves to 20000
    };
    for (const Case& c : cases) {
        RecordingCanvas sized(c.width, c.height, log);
        Tree sizedTree(sized, random, {});
        sizedTree.regrow();
        EXPECT_EQ(sizedTree.settings().treeX, c.treeX) << c.width;
        EXPECT_EQ(sizedTree.settings().treeY, c.treeY) << c.height;
    }
}

TEST_F(TreeFixture, EachLevelHasItsBranchCountWidthAndLength)
{
    tree.regrow();
    // Three children per branch; lengths 672, 504, 378, 284 (283.5 to even), 213 take
    // 134, 101, 76, 57 and 43 steps; twigs keep the 1 pixel their parents set.
    const std::map<int, int> expected{{4, 134}, {3, 3 * 101}, {2, 9 * 76}, {1, 27 * 57 + 81 * 43}};
    EXPECT_EQ(linesPerWidth(canvas.lines), expected);
    EXPECT_EQ(std::count(log.begin(), log.end(), "width 1"), 27);
    EXPECT_EQ(std::count(log.begin(), log.end(), "width 0"), 0);
}

TEST_F(TreeFixture, YieldsOnceAfterClearingAndBeforeTheFirstLine)
{
    tree.regrow();
    ASSERT_GE(log.size(), 5u);
    EXPECT_EQ((EventLog{log.begin(), log.begin() + 5}),
              (EventLog{"reseed", "clear", "yield", "width 4", "line"}));
    EXPECT_EQ(yields, 1);
    tree.regrow();
    EXPECT_EQ(yields, 2);
}

TEST_F(TreeFixture, BendZeroDrawsTheWholeSubtreeStraight)
{
    tree.drawBranch(0, 4, 5, 1000, 2000, 400, -1.570795F);
    // One line per branch: 1 + 3 + 9 + 27 + 81. Each non-twig draws k, then length and angle
    // for each of its three children.
    EXPECT_EQ(canvas.lines.size(), 121u);
    EXPECT_EQ(random.draws, 40u * 7u);
    EXPECT_EQ(canvas.lines[0], (Line{1000, 2000, 1000, 1600, 4}));
    // The first child leaves the trunk's end 28 degrees left of straight up: 300 twips long.
    EXPECT_EQ(canvas.lines[1], (Line{1000, 1600, 859, 1335, 3}));
}

TEST_F(TreeFixture, ChildrenCountTwoToFourFromOneDraw)
{
    const std::vector<std::pair<double, std::size_t>> cases{{0.0, 2},    {0.3333, 2}, {0.34, 3},
                                                            {0.6666, 3}, {0.6667, 4}, {0.9999, 4}};
    for (const auto& [r, children] : cases) {
        EventLog localLog;
        RecordingCanvas local(2280, kHeight, localLog);
        ScriptedRandom script({r}, localLog, 0.5);
        Tree localTree(local, script, {});
        localTree.drawBranch(0, 2, 2, 500, 500, 100, 0);
        EXPECT_EQ(local.lines.size(), 1 + children) << r;
        EXPECT_EQ(script.draws, 1 + 2 * children) << r;
    }
}

TEST_F(TreeFixture, WanderingStepsAreLengthOverFiveRoundedHalvesToEven)
{
    for (const auto& [length, steps] : std::vector<std::pair<std::int16_t, std::size_t>>{
             {0, 0}, {1, 0}, {2, 0}, {3, 1}, {12, 2}, {13, 3}, {672, 134}}) {
        canvas.lines.clear();
        random.draws = 0;
        tree.drawBranch(0.1F, 1, 1, 0, 0, length, 0);
        EXPECT_EQ(canvas.lines.size(), steps) << length;
        EXPECT_EQ(random.draws, steps) << length;  // one turn per step; a twig draws no children
    }
    canvas.lines.clear();
    tree.drawBranch(0.1F, 1, 1, 0, 0, 12, 0);
    EXPECT_EQ(canvas.lines, (std::vector<Line>{{0, 0, 5, 0, 1}, {5, 0, 10, 0, 1}}));
}

TEST_F(TreeFixture, LevelOneIsATwigWithoutChildren)
{
    tree.drawBranch(0, 1, 1, 10, 10, 100, 0);
    EXPECT_EQ(canvas.lines, (std::vector<Line>{{10, 10, 110, 10, 1}}));
    EXPECT_EQ(random.draws, 0u);
}

TEST(TreeDraws, ZeroLengthBranchDrawsNothingButStillGrowsItsChildren)
{
    EventLog log;
    RecordingCanvas canvas(2280, kHeight, log);
    // k = 2 and for each child its length and angle; the children, two twips long, draw no
    // segment and so take no turn numbers either.
    ScriptedRandom random({0.0, 0.5, 0.5, 0.5, 0.5}, log);
    Tree tree(canvas, random, {});
    tree.drawBranch(0.5F, 2, 2, 100, 200, 2, 0);
    EXPECT_TRUE(canvas.lines.empty());
    EXPECT_TRUE(random.scriptUsedUp());
    EXPECT_EQ(random.draws, 5u);
}

TEST(TreeDraws, ChildrenFanAroundTheStartDirectionNotTheWanderedOne)
{
    EventLog log;
    RecordingCanvas canvas(2280, kHeight, log);
    // Parent, 10 twips at bend 1: two steps, each turning it by +0.49 rad. k = 2. Each child:
    // length 8 (7.5 to even), angle at its place in the fan, two steps without turns.
    ScriptedRandom random({0.99, 0.99, 0.0, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5}, log);
    Tree tree(canvas, random, {});
    tree.drawBranch(1.0F, 1, 2, 0, 0, 10, 0);
    EXPECT_TRUE(random.scriptUsedUp());
    ASSERT_EQ(canvas.lines.size(), 6u);
    EXPECT_EQ(canvas.lines[0], (Line{0, 0, 5, 0, 1}));
    EXPECT_EQ(canvas.lines[1], (Line{5, 0, 9, 2, 1}));  // turned by 0.49 rad
    // Children at -28 and +28 degrees from 0, from the parent's end (9, 2).
    EXPECT_EQ(canvas.lines[2], (Line{9, 2, 13, 0, 1}));
    EXPECT_EQ(canvas.lines[4], (Line{9, 2, 13, 4, 1}));
}

TEST(TreeDraws, ChildrenBendTwiceAsMuchUpToThirtyDegrees)
{
    // Parent at the fan's half angle so that the first child (r = 0.5) starts at angle 0; its
    // second step turns by 0.49 times its bend.
    const auto secondStepOfFirstChild = [](float parentBend) {
        EventLog log;
        RecordingCanvas canvas(2280, kHeight, log);
        ScriptedRandom random({0.5, 0.5, 0.0, 0.99, 0.5, 0.99, 0.5}, log, 0.5);
        Tree tree(canvas, random, {});
        tree.drawBranch(parentBend, 1, 2, 0, 0, 10, tree.settings().spreadAngle);
        return canvas.lines.at(3);
    };
    // Parent ends at (8, 4); child 9 twips: (8,4)-(13,4) and then a turned step.
    EXPECT_EQ(secondStepOfFirstChild(0.2F), (Line{13, 4, 18, 5, 1}));   // child bend 0.4: +0.196 rad
    EXPECT_EQ(secondStepOfFirstChild(0.05F), (Line{13, 4, 18, 4, 1}));  // child bend 0.1: +0.049 rad
    EXPECT_EQ(secondStepOfFirstChild(0.4F), (Line{13, 4, 18, 5, 1}));   // 0.8 cut to 0.5236: +0.257 rad
    EXPECT_EQ(secondStepOfFirstChild(2.0F), (Line{13, 4, 18, 5, 1}));   // uncut 4.0 would give +1.96 rad
}

TEST(TreeDraws, CoordinatesBeyondSixteenBitsSaturateInsteadOfWrapping)
{
    EventLog log;
    RecordingCanvas huge(200000, 40000, log);
    ScriptedRandom random({}, log, 0.5);
    Tree tree(huge, random, {});
    tree.regrow();
    EXPECT_EQ(tree.settings().treeX, 32767);  // 100000 does not fit
    EXPECT_EQ(tree.settings().treeY, 32767);
    EXPECT_EQ(tree.settings().treeLength, 12162);  // (40000 - 10) / 3.2880859
    ASSERT_FALSE(huge.lines.empty());
    // The trunk runs upwards from the bottom edge, never through a wrapped negative y.
    for (int step = 0; step < 10; ++step)
        EXPECT_EQ(huge.lines[step].y1, 32767 - 5 * step);
}

TEST(TreeClock, TwoRegrowthsDiffer)
{
    EventLog log;
    RecordingCanvas canvas(2280, kHeight, log);
    ClockRandom random;
    Tree tree(canvas, random, {});
    tree.regrow();
    const auto first = canvas.lines;
    tree.regrow();
    EXPECT_GT(first.size(), 1000u);
    EXPECT_NE(first, canvas.lines);
}

}  // namespace
}  // namespace kv
