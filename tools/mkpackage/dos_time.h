#pragma once
// MS-DOS date and time fields as ZIP entries carry them (local time, two-second steps).

#include <cstdint>
#include <ctime>

namespace mkpackage {

struct DosDateTime {
  std::uint16_t time = 0;  // hour << 11 | minute << 5 | second / 2
  std::uint16_t date = 0;  // (year - 1980) << 9 | month << 5 | day
};

// Local broken-down time of `t`; moments before 1980 (which DOS cannot express) become
// 1980-01-01 00:00:00 as Info-ZIP does.
DosDateTime dosDateTimeFromTime(std::time_t t);

DosDateTime makeDosDateTime(int year, int month, int day, int hour, int minute, int second);

}  // namespace mkpackage
