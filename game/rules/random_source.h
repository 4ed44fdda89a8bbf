#pragma once

#include <cstdint>

namespace kv {

// The one source of chance the game draws from. Production re-seeds it from
// the clock at fixed moments; tests replace it with a script of numbers.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    // A uniform number r with 0 <= r < 1.
    virtual double next() = 0;
    virtual void reseedFromClock() = 0;
};

// splitmix64 keyed by the steady clock and a re-seed counter: two re-seeds
// within one clock tick still give different sequences, and a re-seed costs
// one clock read, so it may happen on every move.
class ClockRandom final : public RandomSource {
public:
    ClockRandom();
    double next() override;
    void reseedFromClock() override;

private:
    std::uint64_t state_ = 0;
    std::uint64_t reseeds_ = 0;
};

}  // namespace kv
