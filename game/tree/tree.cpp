#include "game/tree/tree.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "game/rules/rounding.h"

namespace kv {
namespace {

constexpr double kStepLength = 5;           // twips per step of a wandering line
constexpr float kTrunkBend = 3.14159 / 90;  // 2 degrees
constexpr float kTrunkTheta = -1.570795;    // straight up, as y grows downwards
constexpr std::int16_t kTrunkThickness = 4;
constexpr float kMaxBend = 0.5235983F;  // about 30 degrees, reached by the twigs

// Angles are single precision like the parameters they come from: each sum is worked out in
// double and rounded to single where it is stored, so scripted draws give exact coordinates.
float toSingle(double value)
{
    return static_cast<float>(value);
}

}  // namespace

Tree::Tree(TreeCanvas& canvas, RandomSource& random, std::function<void()> yieldToEvents)
    : canvas_(canvas), random_(random), yieldToEvents_(std::move(yieldToEvents))
{
}

void Tree::regrow()
{
    random_.reseedFromClock();
    // Only the half has to fit into 16 bits, not the width itself.
    const std::int16_t treeX = roundHalfEvenToInt16(std::trunc(std::nearbyint(canvas_.innerWidth()) / 2));
    const std::int16_t treeY = roundHalfEvenToInt16(canvas_.innerHeight() - 5);
    canvas_.clear();
    // Lets a repaint, the flash timer or a click run before the drawing, which never yields.
    if (yieldToEvents_)
        yieldToEvents_();

    settings_ = TreeSettings{};
    settings_.treeX = treeX;
    settings_.treeY = treeY;
    // Trunk and the expected lengths of the levels above it, a geometric series of
    // treeDepth + 1 terms with ratio lengthFactor, fill the height.
    const double lengthFactor = settings_.lengthFactor;
    const double seriesSum = (1 - std::pow(lengthFactor, settings_.treeDepth + 1)) / (1 - lengthFactor);
    settings_.treeLength = roundHalfEvenToInt16((canvas_.innerHeight() - 10) / seriesSum);

    drawBranch(kTrunkBend, kTrunkThickness, settings_.treeDepth, settings_.treeX, settings_.treeY,
               settings_.treeLength, kTrunkTheta);
}

void Tree::drawBranch(float bend, std::int16_t thickness, std::int16_t level, std::int16_t x, std::int16_t y,
                      std::int16_t length, float theta)
{
    if (thickness > 0)
        canvas_.setLineWidth(thickness);

    std::int16_t endX = x;
    std::int16_t endY = y;
    if (bend > 0) {
        const std::int16_t steps = roundHalfEvenToInt16(length / kStepLength);
        float direction = theta;
        for (int step = 0; step < steps; ++step) {
            const std::int16_t nextX = roundHalfEvenToInt16(endX + kStepLength * std::cos(double{direction}));
            const std::int16_t nextY = roundHalfEvenToInt16(endY + kStepLength * std::sin(double{direction}));
            canvas_.drawLine(endX, endY, nextX, nextY);
            direction = toSingle(direction + (random_.next() - 0.5) * bend);
            endX = nextX;
            endY = nextY;
        }
    } else {
        endX = roundHalfEvenToInt16(x + length * std::cos(double{theta}));
        endY = roundHalfEvenToInt16(y + length * std::sin(double{theta}));
        canvas_.drawLine(x, y, endX, endY);
    }

    if (level < 2)
        return;

    // 2, 3 or 4 children, each as likely, fanned out around the direction the branch started
    // in, not the one a wandering line ended in.
    const auto children = static_cast<int>(std::floor((settings_.maxBranches - 1) * random_.next() + 2));
    const float fanStep = 2 * settings_.spreadAngle / static_cast<float>(children - 1);
    float fanAngle = theta - settings_.spreadAngle;
    // Each level bends twice as much as its parent, up to about 30 degrees; a straight branch
    // has straight children.
    const float childBend = bend > 0 ? std::min(2 * bend, kMaxBend) : bend;

    for (int child = 0; child < children; ++child) {
        const std::int16_t childLength = roundHalfEvenToInt16(
            (settings_.lengthVariation * (random_.next() - 0.5) + settings_.lengthFactor) * length);
        const float childTheta = toSingle(settings_.angleVariation * (random_.next() - 0.5) + fanAngle);
        fanAngle += fanStep;
        // The child's whole subtree is drawn before the next child's numbers are drawn.
        drawBranch(childBend, static_cast<std::int16_t>(thickness - 1), static_cast<std::int16_t>(level - 1),
                   endX, endY, childLength, childTheta);
    }
}

}  // namespace kv
