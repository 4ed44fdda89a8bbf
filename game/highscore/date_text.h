// The date and time text stored with a new highscore entry.
#pragma once

#include <ctime>
#include <string>

namespace kv {

// The date text field's length.
inline constexpr std::size_t kDateTextLength = 17;

// `local` as the short date of LC_TIME (as the program set it with setlocale) with a two-digit
// year, a blank and the locale's time with seconds, as UTF-8: "12.06.99 16:02:47" under German
// settings, exactly 17 characters. Where that is longer than 17 characters the time is written
// on the 24-hour clock ("06/12/99 16:02:47" instead of "06/12/99 04:02:47 PM"), and where even
// that is too long the date and time are written as "99-06-12 16:02:47", so that the seconds are
// never cut off.
std::string dateText(const std::tm& local);

// dateText of the current local time.
std::string currentDateText();

}  // namespace kv
