#pragma once
// MS-DOS time stamps for the entries the generator writes (the layout is the shared one).

#include <ctime>

#include "common/package_format/dos_time.h"

namespace mkpackage {

using common::DosDateTime;

// Local broken-down time of `t`; moments before 1980 (which DOS cannot express) become
// 1980-01-01 00:00:00 as Info-ZIP does.
DosDateTime dosDateTimeFromTime(std::time_t t);

// Throws Error for a moment after 2107 or fields out of range.
DosDateTime makeDosDateTime(int year, int month, int day, int hour, int minute, int second);

}  // namespace mkpackage
