#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace kv {

// The ten reference pictures fields are filled from. A field shows an entry
// by index, and the wipes find fields by comparing that index.
using PaletteIndex = std::uint8_t;

inline constexpr int kPaletteSize = 10;
inline constexpr int kColourCount = 7;  // entries 0 to 6
inline constexpr PaletteIndex kJokerEntry = 7;
inline constexpr PaletteIndex kFlashEntry = 8;
inline constexpr PaletteIndex kBlockedEntry = 9;

// Each colour owns one decimal digit and the joker the units digit, so a
// sum over a line tells how many fields of each colour it holds. The flash
// and blocked pictures carry no code of their own; fields showing them get
// "peng" and "voll" instead.
inline constexpr std::array<std::string_view, kPaletteSize> kPaletteCodes = {
    "10000000",  // red
    "1000000",   // orange
    "100000",    // yellow
    "10000",     // green
    "1000",      // cyan
    "100",       // blue
    "10",        // magenta
    "1",         // joker
    "",          // flash
    "",          // blocked
};

inline constexpr std::string_view kFreeCode = "0";
inline constexpr std::string_view kBlockedCode = "voll";
inline constexpr std::string_view kMarkedCode = "peng";

}  // namespace kv
