#include "common/package_format/dos_time.h"

#include <string.h>

namespace common {

bool dosDateTimeToTime(uint16_t date, uint16_t time, time_t& out)
{
    // The fields as packDosDateTime lays them out; the year always fits.
    const int day = date & 31;
    const int month = (date >> 5) & 15;
    const int hour = time >> 11;
    const int minute = (time >> 5) & 63;
    const int second = (time & 31) * 2;
    if (day == 0 || month == 0 || month > 12 || hour > 23 || minute > 59 || second > 59)
        return false;
    struct tm parts;
    memset(&parts, 0, sizeof parts);
    parts.tm_year = 80 + (date >> 9);
    parts.tm_mon = month - 1;
    parts.tm_mday = day;
    parts.tm_hour = hour;
    parts.tm_min = minute;
    parts.tm_sec = second;
    parts.tm_isdst = -1;  // whether summer time applied is for the zone rules to say
    const time_t result = mktime(&parts);
    if (result == static_cast<time_t>(-1))
        return false;
    out = result;
    return true;
}

}  // namespace common
