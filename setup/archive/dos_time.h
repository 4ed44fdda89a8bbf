#pragma once
// MS-DOS date and time fields as used by ZIP entries.
#include <stdint.h>
#include <time.h>

namespace setup {

// The stored date and time taken as local time. False for a date or time
// that names no real moment (month 0, hour 24, ...).
bool dosDateTimeToTime(uint16_t date, uint16_t time, time_t& out);

}  // namespace setup
