#include <gtest/gtest.h>

#include <string>

#include "game/highscore/ansi_text.h"
#include "game/highscore/fixed_width_text.h"

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
    EXPECT_EQ(fitToCharacters("a\x80"
                              "b\xC3",
                              5),
              "a?b? ");
    EXPECT_EQ(cutToCharacters("\xC0\xAFx", 3), "??x");
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
