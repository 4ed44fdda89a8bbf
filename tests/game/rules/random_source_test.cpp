#include "game/rules/random_source.h"

#include <gtest/gtest.h>

#include <array>

namespace kv {
namespace {

TEST(ClockRandom, ReseedsWithinOneTickStillDifferAndStayInRange)
{
    ClockRandom random;
    std::array<double, 4> first{};
    std::array<double, 4> second{};
    random.reseedFromClock();
    for (double& r : first)
        r = random.next();
    random.reseedFromClock();
    for (double& r : second)
        r = random.next();
    EXPECT_NE(first, second);

    double sum = 0;
    int below = 0;
    constexpr int kDraws = 100'000;
    for (int n = 0; n < kDraws; ++n) {
        const double r = random.next();
        ASSERT_TRUE(r >= 0.0 && r < 1.0) << r;
        sum += r;
        below += r < 0.25;
    }
    // Loose bounds, many standard deviations wide: a broken mapping to
    // [0, 1) misses them by far.
    EXPECT_NEAR(sum / kDraws, 0.5, 0.01);
    EXPECT_NEAR(below / double{kDraws}, 0.25, 0.01);
}

}  // namespace
}  // namespace kv
