// The randomly grown tree beside the board: a trunk that wanders as it grows, from whose end two
// to four branches fan out, each again a wandering line with two to four branches, five levels.
#pragma once

#include <cstdint>
#include <functional>

#include "game/rules/random_source.h"
#include "game/tree/tree_canvas.h"

namespace kv {

// Rewritten with the same values at every regrowth, apart from the three that follow the canvas.
struct TreeSettings {
    float lengthFactor = 0.75F;     // mean ratio of a branch's length to its parent's
    float lengthVariation = 0.24F;  // that ratio varies by +- half of this
    float spreadAngle = static_cast<float>(87.96452 / 180);     // 28 degrees each side
    float angleVariation = static_cast<float>(125.6636 / 180);  // each child +- 20 degrees
    std::int16_t maxBranches = 4;                               // the fewest is 2
    std::int16_t treeDepth = 5;                                 // the trunk is level 5, twigs level 1
    std::int16_t treeX = 0;                                     // foot of the trunk
    std::int16_t treeY = 0;
    std::int16_t treeLength = 0;  // trunk length
};

class Tree {
public:
    // `yieldToEvents` lets the window handle its pending events once; it is called once per
    // regrowth, after the canvas was cleared and before the first line.
    Tree(TreeCanvas& canvas, RandomSource& random, std::function<void()> yieldToEvents);

    // Clears the canvas and draws a new tree: reseeds the random source, sizes the tree to the
    // canvas, clears it, yields once and draws the tree.
    void regrow();

    // Draws one branch from (x, y) in direction `theta` (radians, y downwards) and, recursively,
    // everything that grows from it. A positive `bend` makes a wandering line of 5-twip steps
    // that may turn by up to `bend` / 2 each way per step; otherwise the branch is straight.
    // A positive `thickness` sets the line width in pixels. `level` counts the levels still to
    // draw, this one included: level 1 is a twig without children.
    void drawBranch(float bend, std::int16_t thickness, std::int16_t level, std::int16_t x, std::int16_t y,
                    std::int16_t length, float theta);

    const TreeSettings& settings() const { return settings_; }

private:
    TreeCanvas& canvas_;
    RandomSource& random_;
    std::function<void()> yieldToEvents_;
    TreeSettings settings_;
};

}  // namespace kv
