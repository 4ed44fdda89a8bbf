#include "dos_time.h"

#include "error.h"

namespace mkpackage {

DosDateTime makeDosDateTime(int year, int month, int day, int hour, int minute, int second) {
  if (year < 1980) return makeDosDateTime(1980, 1, 1, 0, 0, 0);
  if (year > 2107 || month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 || hour > 23 ||
      minute < 0 || minute > 59 || second < 0 || second > 59)
    throw Error("date or time out of the range of MS-DOS time stamps");
  DosDateTime dos;
  dos.time = static_cast<std::uint16_t>(hour << 11 | minute << 5 | second / 2);
  dos.date = static_cast<std::uint16_t>((year - 1980) << 9 | month << 5 | day);
  return dos;
}

DosDateTime dosDateTimeFromTime(std::time_t t) {
  std::tm local{};
  if (localtime_r(&t, &local) == nullptr) throw Error("cannot convert a file time to local time");
  return makeDosDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                         local.tm_min, local.tm_sec > 59 ? 59 : local.tm_sec);
}

}  // namespace mkpackage
