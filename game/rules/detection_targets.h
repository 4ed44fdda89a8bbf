#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <stdexcept>

namespace kv {

namespace detail {

// For every colour c (red first) and n = size down to 1: n fields of
// colour c and size - n jokers; then size jokers alone.
template <std::size_t Count>
constexpr std::array<std::int32_t, Count> makeTargets(std::int32_t size)
{
    std::array<std::int32_t, Count> targets{};
    std::size_t next = 0;
    std::int32_t colourDigit = 10'000'000;
    for (int colour = 0; colour < 7; ++colour, colourDigit /= 10)
        for (std::int32_t n = size; n >= 1; --n)
            targets[next++] = n * colourDigit + (size - n);
    targets[next++] = size;
    if (next != Count)
        throw std::logic_error("target count");
    return targets;
}

constexpr std::uint64_t splitmix(std::uint64_t z)
{
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

}  // namespace detail

// The sums of five values that make a stripe, and of nine that make a square.
inline constexpr auto StripeTargets = detail::makeTargets<36>(5);
inline constexpr auto SquareTargets = detail::makeTargets<64>(9);

// Membership in a fixed table with one multiply and one compare. A linear
// or binary search over 36 or 64 entries for each of the 189 candidate sums
// of a detection pass would cost more than the whole rest of the pass. The
// multiplier is searched for at compile time until no two targets share a
// slot, so a hit in the slot is an exact match and nothing else.
template <std::size_t Slots>
class TargetSet {
    static_assert(std::has_single_bit(Slots));

public:
    template <std::size_t Count>
    constexpr explicit TargetSet(const std::array<std::int32_t, Count>& targets)
    {
        std::uint64_t seed = 0;
        for (int attempt = 0; attempt < 100'000; ++attempt) {
            seed += 0x9E3779B97F4A7C15ULL;
            multiplier_ = static_cast<std::uint32_t>(detail::splitmix(seed)) | 1U;
            if (place(targets))
                return;
        }
        throw std::logic_error("no collision-free multiplier");
    }

    constexpr bool contains(std::int32_t sum) const { return slots_[slotOf(sum)] == sum; }

private:
    // No sum of field values is negative, so an empty slot matches nothing.
    static constexpr std::int32_t kEmpty = -1;
    static constexpr int kShift = 32 - std::countr_zero(Slots);

    constexpr std::size_t slotOf(std::int32_t sum) const
    {
        return (static_cast<std::uint32_t>(sum) * multiplier_) >> kShift;
    }

    template <std::size_t Count>
    constexpr bool place(const std::array<std::int32_t, Count>& targets)
    {
        slots_.fill(kEmpty);
        for (std::int32_t target : targets) {
            std::int32_t& slot = slots_[slotOf(target)];
            if (slot != kEmpty)
                return false;
            slot = target;
        }
        return true;
    }

    std::array<std::int32_t, Slots> slots_{};
    std::uint32_t multiplier_ = 1;
};

inline constexpr TargetSet<256> kStripeSums{StripeTargets};
inline constexpr TargetSet<512> kSquareSums{SquareTargets};

}  // namespace kv
