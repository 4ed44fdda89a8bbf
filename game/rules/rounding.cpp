#include "game/rules/rounding.h"

#include <cmath>
#include <limits>

namespace kv {
namespace {

template <typename Int>
Int saturate(double whole)
{
    if (std::isnan(whole))
        return 0;
    constexpr auto lowest = std::numeric_limits<Int>::min();
    constexpr auto highest = std::numeric_limits<Int>::max();
    // Comparisons against powers of two are exact in double.
    if (whole < static_cast<double>(lowest))
        return lowest;
    if (whole >= -static_cast<double>(lowest))
        return highest;
    return static_cast<Int>(whole);
}

}  // namespace

std::int16_t roundHalfEvenToInt16(double value)
{
    // nearbyint follows the current rounding mode, which the program never
    // changes from round-to-nearest-even.
    return saturate<std::int16_t>(std::nearbyint(value));
}

std::int64_t roundToFourPlaces(double value)
{
    constexpr double kScale = 10000.0;
    const double scaled = value * kScale;
    // fma yields the exact remainder of the product, so value * 10000 is
    // exactly scaled + error.
    const double error = std::fma(value, kScale, -scaled);
    double rounded = std::nearbyint(scaled);
    const bool looksLikeTie = std::fabs(scaled - std::trunc(scaled)) == 0.5;
    if (looksLikeTie && error != 0.0) {
        // The product was rounded onto a half: the exact value lies beside
        // it, and that side decides.
        rounded = error > 0.0 ? std::ceil(scaled) : std::floor(scaled);
    }
    return saturate<std::int64_t>(rounded);
}

}  // namespace kv
