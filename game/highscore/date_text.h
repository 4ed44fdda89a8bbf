// The date and time text stored with a new highscore entry.
#pragma once

#include <ctime>
#include <string>

namespace kv {

// The date text field's length.
inline constexpr std::size_t kDateTextLength = 17;

// `local` in the locale's short date, a blank and its long time ("%x %X" of LC_TIME as the
// program set it with setlocale), as UTF-8 cut to 17 characters. German settings give exactly
// 17, e.g. "12.06.99 16:02:47"; other settings may be cut.
std::string dateText(const std::tm& local);

// dateText of the current local time.
std::string currentDateText();

}  // namespace kv
