#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "setup/package/ansi_text.h"
#include "setup/package/fixed_notice.h"
#include "setup/package/scramble.h"

namespace setup {
namespace {

std::string scrambledCopy(std::string text) {
  scrambleText(text.data(), text.size());
  return text;
}

TEST(ScrambleText, ShortTextsStayPlain) {
  EXPECT_EQ(scrambledCopy(""), "");
  EXPECT_EQ(scrambledCopy("K"), "K");
}

TEST(ScrambleText, KeyStreamMatchesTheGenerator) {
  // Key bytes worked out by hand from the seed 618: S1 = 618 * 134775813 + 1
  // mod 2^32 = 0x648E4E13, S1 >> 25 = 0x32, key 0xB2; and so on.
  std::string zeros(6, '\0');
  scrambleText(zeros.data(), zeros.size());
  EXPECT_EQ(zeros, std::string("\x00\xB2\xE2\xF6\xD6\xD8", 6));
  // The first byte is stored plain, the others are XORed.
  EXPECT_EQ(scrambledCopy("AB"), std::string("A\xF0", 2));
}

TEST(ScrambleText, IsItsOwnInverseAndRestartsForEveryText) {
  const std::string text = "Lizenz: frei f\xFCr private Nutzung.\r\nZweite Zeile.";
  const std::string once = scrambledCopy(text);
  EXPECT_NE(once, text);
  EXPECT_EQ(scrambledCopy(once), text);
  // A second text does not continue the first one's stream.
  EXPECT_EQ(scrambledCopy(text.substr(0, 10)), once.substr(0, 10));
}

TEST(FixedNotice, IsSixtyTwoStoredBytesShownAsUtf8) {
  const std::string shown = fixedNotice();
  EXPECT_EQ(shown, "KARVELO 1.01 – Setup für das Brettspiel. Bitte beachten Sie:\r\n");
  // Two of its characters need two more bytes in UTF-8 than in the code page.
  EXPECT_EQ(shown.size(), static_cast<size_t>(kFixedNoticeLength) + 3);
  EXPECT_EQ(fixedNotice(), fixedNotice());
}

TEST(AnsiText, ConvertsTheCodePageIncludingItsUpperControlRange) {
  char* text = ansiToUtf8("\xC4\xD6\xDC\xDF \x80 \x96 \x84x\x93", 12);
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(text, "ÄÖÜß € – „x“");
  free(text);
  // 0x81 is undefined in Windows-1252.
  text = ansiToUtf8("a\x81z", 3);
  EXPECT_STREQ(text, "a?z");
  free(text);
}

TEST(AnsiText, CutsAtTheBufferWithoutSplittingACharacter) {
  char out[4];
  EXPECT_FALSE(ansiToUtf8Into(out, sizeof out, "ab\xFC", 3));  // needs 4 bytes + NUL
  EXPECT_STREQ(out, "ab");
  EXPECT_TRUE(ansiToUtf8Into(out, sizeof out, "a\xFC", 2));
  EXPECT_STREQ(out, "aü");
}

// Answers to the password prompt arrive in UTF-8; packages are keyed in Windows-1252.
TEST(AnsiText, PasswordsAreConvertedOrRefusedWhole) {
  struct Case {
    const char* utf8;
    size_t size;
    bool converts;
    std::string ansi;
  };
  const std::string umlauts79(79, '\xE4');
  std::string utf8Umlauts79;
  for (int i = 0; i < 79; ++i) utf8Umlauts79 += "\u00e4";
  const Case cases[] = {
      {"geheim", 80, true, "geheim"},
      {"Gr\u00f6\u00dfe \u20ac\u2013", 80, true, "Gr\xF6\xDF" "e \x80\x96"},
      {utf8Umlauts79.c_str(), 80, true, umlauts79},
      {"\u00e4bc", 3, false, ""},            // four bytes with the NUL
      {"Gr\u00f6\u00dfe\u2713", 80, false, ""},  // a tick: not in the code page
      {"Stra\u00dfe \U0001F600", 80, false, ""},
      {"ab\xC3", 80, false, ""},             // cut in the middle of a character
      {"\xFC", 80, false, ""},               // Latin-1, not UTF-8
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.utf8);
    char out[80];
    memset(out, 'x', sizeof out);
    EXPECT_EQ(utf8ToAnsi(out, c.size, c.utf8), c.converts);
    EXPECT_EQ(std::string(out), c.ansi);
  }
}

}  // namespace
}  // namespace setup
