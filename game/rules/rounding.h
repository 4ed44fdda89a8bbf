#pragma once

#include <cstdint>

namespace kv {

// Nearest 16-bit integer, halves to the even neighbour. Values outside the
// 16-bit range saturate and NaN gives 0, so a stray value can never wrap
// around into a plausible-looking coordinate or count.
std::int16_t roundHalfEvenToInt16(double value);

// `value` rounded to four decimal places, halves to the even neighbour,
// returned as a whole number of ten-thousandths (7.1234 -> 71234). The
// rounding is decided on the exact value of the double, not on a rounded
// product with 10000, so ties are recognised only where they really are.
// Saturates beyond the 64-bit range; NaN gives 0.
std::int64_t roundToFourPlaces(double value);

}  // namespace kv
