#include "tools/mkpackage/dos_time.h"

#include "tools/mkpackage/error.h"

namespace mkpackage {

DosDateTime makeDosDateTime(int year, int month, int day, int hour, int minute, int second)
{
    if (year < 1980)
        return makeDosDateTime(1980, 1, 1, 0, 0, 0);
    const common::DosFields fields{year, month, day, hour, minute, second};
    if (!common::dosCanHold(fields))
        throw Error("date or time out of the range of MS-DOS time stamps");
    return common::packDosDateTime(fields);
}

DosDateTime dosDateTimeFromTime(std::time_t t)
{
    std::tm local{};
    if (localtime_r(&t, &local) == nullptr)
        throw Error("cannot convert a file time to local time");
    return makeDosDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                           local.tm_sec > 59 ? 59 : local.tm_sec);
}

}  // namespace mkpackage
