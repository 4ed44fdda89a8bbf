#pragma once
// MS-DOS date and time fields as ZIP entries carry them: local time in two-second steps.
#include <stdint.h>
#include <time.h>

namespace common {

struct DosDateTime {
    uint16_t time = 0;  // hour << 11 | minute << 5 | second / 2
    uint16_t date = 0;  // (year - 1980) << 9 | month << 5 | day
};

struct DosFields {
    int year;
    int month;
    int day;
    int hour;
    int minute;
    int second;
};

// False for what no stamp can name: a year outside 1980–2107, month 0, hour 24, ...
constexpr bool dosCanHold(const DosFields& f)
{
    return f.year >= 1980 && f.year <= 2107 && f.month >= 1 && f.month <= 12 && f.day >= 1 && f.day <= 31 &&
           f.hour >= 0 && f.hour <= 23 && f.minute >= 0 && f.minute <= 59 && f.second >= 0 && f.second <= 59;
}

// For fields dosCanHold; an odd second goes down to the even one before it.
constexpr DosDateTime packDosDateTime(const DosFields& f)
{
    DosDateTime stamp;
    stamp.time = static_cast<uint16_t>(f.hour << 11 | f.minute << 5 | f.second / 2);
    stamp.date = static_cast<uint16_t>((f.year - 1980) << 9 | f.month << 5 | f.day);
    return stamp;
}

// The stamp taken as local time. False for a stamp that names no real moment.
bool dosDateTimeToTime(uint16_t date, uint16_t time, time_t& out);

}  // namespace common
