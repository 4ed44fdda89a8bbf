// Windows-1252 texts and MS-DOS time stamps.

#include <gtest/gtest.h>

#include <string>

#include "ansi_text.h"
#include "dos_time.h"
#include "error.h"
#include "setup/support/time_zone.h"

namespace mkpackage {
namespace {

TEST(Windows1252, ConvertsUmlautsEuroAndPlainAscii) {
  EXPECT_EQ(toWindows1252("Bitte prüfen: Größe 5 €"), "Bitte pr\xFC" "fen: Gr\xF6\xDF" "e 5 \x80");
  EXPECT_EQ(toWindows1252("\r\r\rplain"), "\r\r\rplain");
  EXPECT_EQ(toWindows1252(""), "");
}

TEST(Windows1252, RefusesCharactersItLacksAndBrokenUtf8) {
  EXPECT_THROW(toWindows1252("漢字"), Error);
  EXPECT_THROW(toWindows1252("\xC3"), Error);
}

using setup::testing::TimeZone;

TEST(DosTime, PacksFieldsInTwoSecondSteps) {
  const DosDateTime dos = makeDosDateTime(2024, 5, 17, 13, 45, 31);
  EXPECT_EQ(dos.time, (13 << 11) | (45 << 5) | 15);
  EXPECT_EQ(dos.date, (44 << 9) | (5 << 5) | 17);
  EXPECT_EQ(makeDosDateTime(2107, 12, 31, 23, 59, 58).date, 0xFF9F);
  EXPECT_THROW(makeDosDateTime(2108, 1, 1, 0, 0, 0), Error);
  EXPECT_THROW(makeDosDateTime(2024, 13, 1, 0, 0, 0), Error);
}

TEST(DosTime, BeforeTheDosEpochBecomesItsFirstMoment) {
  const DosDateTime dos = makeDosDateTime(1970, 6, 1, 12, 0, 0);
  EXPECT_EQ(dos.time, 0);
  EXPECT_EQ(dos.date, (0 << 9) | (1 << 5) | 1);
}

TEST(DosTime, FileTimesAreTakenAsLocalTime) {
  const std::time_t t = 1700000000;  // 2023-11-14 22:13:20 UTC
  {
    TimeZone zone("UTC0");
    const DosDateTime dos = dosDateTimeFromTime(t);
    EXPECT_EQ(dos.time, (22 << 11) | (13 << 5) | 10);
    EXPECT_EQ(dos.date, (43 << 9) | (11 << 5) | 14);
  }
  {
    TimeZone zone("CET-1");  // one hour east of UTC
    const DosDateTime dos = dosDateTimeFromTime(t);
    EXPECT_EQ(dos.time, (23 << 11) | (13 << 5) | 10);
    EXPECT_EQ(dos.date, (43 << 9) | (11 << 5) | 14);
  }
  {
    TimeZone zone("EET-2");
    const DosDateTime dos = dosDateTimeFromTime(t);
    EXPECT_EQ(dos.time, (0 << 11) | (13 << 5) | 10);
    EXPECT_EQ(dos.date, (43 << 9) | (11 << 5) | 15);
  }
}

}  // namespace
}  // namespace mkpackage
