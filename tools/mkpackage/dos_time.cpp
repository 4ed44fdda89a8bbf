#include "dos_time.h"

#include "error.h"

namespace mkpackage {

DosDateTime makeDosDateTime(int year, int month, int day, int hour, int minute, int second) {
  if (year < 1980) return makeDosDateTime(1980, 1, 1, 0, 0, 0);
  const common::DosFields fields{year, month, day, hour, minute, second};
  if (!common::dosCanHold(fields))
    throw Error("date or time out of the range of MS-DOS time stamps");
  return common::packDosDateTime(fields);
}

DosDateTime dosDateTimeFromTime(std::time_t t) {
  common::DosFields local{};
  if (!common::localDosFields(t, local)) throw Error("cannot convert a file time to local time");
  return makeDosDateTime(local.year, local.month, local.day, local.hour, local.minute,
                         local.second);
}

}  // namespace mkpackage
