#include "game/rules/random_source.h"

#include <chrono>

namespace kv {
namespace {

constexpr std::uint64_t kGoldenGamma = 0x9E3779B97F4A7C15ULL;

std::uint64_t mix(std::uint64_t z)
{
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

}  // namespace

ClockRandom::ClockRandom()
{
    reseedFromClock();
}

double ClockRandom::next()
{
    state_ += kGoldenGamma;
    // The top 53 bits fill a double's mantissa exactly, so the result
    // can never round up to 1.
    return static_cast<double>(mix(state_) >> 11) * 0x1.0p-53;
}

void ClockRandom::reseedFromClock()
{
    const auto ticks =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    ++reseeds_;
    state_ = mix(ticks) ^ mix(reseeds_ * kGoldenGamma);
}

}  // namespace kv
