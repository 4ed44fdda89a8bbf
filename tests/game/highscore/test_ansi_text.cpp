#include <gtest/gtest.h>

#include <string>

#include "highscore/ansi_text.h"
#include "highscore/fixed_width_text.h"

namespace kv {
namespace {

TEST(AnsiText, CutsAndPadsByCharactersNotBytes)
{
    // 22 characters, 26 bytes: four umlauts of two bytes each.
    const std::string name = "Jürgen Müller-Lüdenäxy";
    EXPECT_EQ(cutToCharacters(name, 20), "Jürgen Müller-Lüdenä");
    EXPECT_EQ(fitToCharacters("Jörg", 20), "Jörg" + std::string(16, ' '));
    EXPECT_EQ(fitToCharacters("", 17), std::string(17, ' '));
    EXPECT_EQ(fitToCharacters("€€€", 2), "€€");
    EXPECT_EQ(cutToCharacters("short", 20), "short");
}

TEST(AnsiText, MalformedUtf8BytesBecomeQuestionMarksOneCharacterEach)
{
    // A stray continuation byte, a truncated two-byte sequence and an overlong form of '/'.
    EXPECT_EQ(fitToCharacters("a\x80" "b\xC3", 5), "a?b? ");
    EXPECT_EQ(cutToCharacters("\xC0\xAFx", 3), "??x");
}

TEST(AnsiText, Windows1252RoundTripsGermanTextAndEuro)
{
    const std::string text = "äöüßÄÖÜ€";
    const std::string bytes = toWindows1252(text);
    EXPECT_EQ(bytes, "\xE4\xF6\xFC\xDF\xC4\xD6\xDC\x80");
    EXPECT_EQ(fromWindows1252(bytes), text);
}

TEST(AnsiText, CharactersWindows1252LacksBecomeOneQuestionMarkEach)
{
    EXPECT_EQ(toWindows1252("Łódź 日本"), "?\xF3" "d? ??");
    EXPECT_EQ(toWindows1252("bad\xFF"), "bad?");
}

TEST(AnsiText, UndefinedWindows1252BytesDecodeAsQuestionMarks)
{
    EXPECT_EQ(fromWindows1252("\x81\x8D\x8F\x90\x9D"), "?????");
    // The defined neighbours still decode: ‚ and ž.
    EXPECT_EQ(fromWindows1252("\x82\x9E"), "‚ž");
    // Every byte value gives exactly one character, so a field keeps its width.
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(toWindows1252(fromWindows1252(all)).size(), 256u);
}

TEST(FixedWidthText, AssignmentCutsOrPadsAndReadingGivesFullField)
{
    FixedWidthText<20> name;
    EXPECT_EQ(name.str(), std::string(20, ' '));
    name = "Äbcdefghijklmnopqrstuvwxyz";
    EXPECT_EQ(name.str(), "Äbcdefghijklmnopqrst");
    name = "Anna";
    EXPECT_EQ(name.str(), "Anna                ");
    const std::string& asText = name;
    EXPECT_EQ(asText.size(), 20u);
}

}  // namespace
}  // namespace kv
