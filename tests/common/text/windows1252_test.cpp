// Windows-1252 both ways under each policy a program of ours uses.
#include <gtest/gtest.h>

#include <errno.h>
#include <string.h>

#include <string>

#include "common/text/utf8_characters.h"
#include "common/text/windows1252.h"

namespace common {
namespace {

// The game's highscore fields: everything keeps its width.
constexpr Windows1252Policy kField{Unmappable::QuestionMark, WithoutConverter::AsciiOnly};
// The setup reading the package's texts.
constexpr Windows1252Policy kReading{Unmappable::QuestionMark, WithoutConverter::Latin1};
// Passwords typed into the setup, the INF reader: all or nothing.
constexpr Windows1252Policy kStrict{Unmappable::Refuse, WithoutConverter::AsciiOnly};
// The package generator: all or nothing, and nothing without a converter.
constexpr Windows1252Policy kWriting{Unmappable::Refuse, WithoutConverter::Fail};

enum class Policy { Field, Reading, Strict, Writing };

template <Windows1252Policy kPolicy>
Conversion run(bool decode, char* out, size_t size, const std::string& in)
{
    return decode ? windows1252ToUtf8<kPolicy>(out, size, in.data(), in.size())
                  : utf8ToWindows1252<kPolicy>(out, size, in.data(), in.size());
}

struct Case {
    const char* what;
    Policy policy;
    bool decode;  // Windows-1252 → UTF-8; else UTF-8 → Windows-1252
    std::string in;
    size_t size;  // of the output buffer
    Converted status;
    std::string out;
};

TEST(Windows1252, EachPolicyConvertsReplacesOrRefusesAsItsProgramNeeds)
{
    std::string umlauts79Utf8;
    for (int i = 0; i < 79; ++i)
        umlauts79Utf8 += "ä";
    const Case cases[] = {
        {"German and the euro", Policy::Field, false, "äöüßÄÖÜ€", 80, Converted::Done,
         "\xE4\xF6\xFC\xDF\xC4\xD6\xDC\x80"},
        {"and back", Policy::Field, true, "\xE4\xF6\xFC\xDF\xC4\xD6\xDC\x80", 80, Converted::Done,
         "äöüßÄÖÜ€"},
        {"one ? per missing character", Policy::Field, false, "Łódź 日本", 80, Converted::Done,
         "?\xF3"
         "d? ??"},
        {"one ? per stray byte", Policy::Field, false,
         "a\x80"
         "b\xC3",
         80, Converted::Done, "a?b?"},
        {"an overlong '/' is two stray bytes", Policy::Field, false, "\xC0\xAFx", 80, Converted::Done, "??x"},
        {"undefined bytes", Policy::Field, true, "\x81\x8D\x8F\x90\x9D", 80, Converted::Done, "?????"},
        {"their defined neighbours", Policy::Field, true, "\x82\x9E", 80, Converted::Done, "‚ž"},
        {"a NUL is a character", Policy::Field, true, std::string("a\0b", 3), 80, Converted::Done,
         std::string("a\0b", 3)},
        {"the upper control range", Policy::Reading, true, "\xC4\xD6\xDC\xDF \x80 \x96 \x84x\x93", 80,
         Converted::Done, "ÄÖÜß € – „x“"},
        {"undefined byte read", Policy::Reading, true, "a\x81z", 80, Converted::Done, "a?z"},
        {"exactly fits", Policy::Reading, true, "a\xFC", 4, Converted::Done, "aü"},
        {"one byte short: nothing", Policy::Reading, true, "ab\xFC", 4, Converted::DoesNotFit, ""},
        {"password", Policy::Strict, false, "geheim", 80, Converted::Done, "geheim"},
        {"password in the code page", Policy::Strict, false, "Größe €–", 80, Converted::Done,
         "Gr\xF6\xDF"
         "e \x80\x96"},
        {"79 umlauts fill 80 bytes", Policy::Strict, false, umlauts79Utf8, 80, Converted::Done,
         std::string(79, '\xE4')},
        {"four bytes with the NUL", Policy::Strict, false, "äbc", 3, Converted::DoesNotFit, ""},
        {"a tick", Policy::Strict, false, "Größe✓", 80, Converted::Refused, ""},
        {"outside the BMP", Policy::Strict, false, "Straße \U0001F600", 80, Converted::Refused, ""},
        {"cut inside a character", Policy::Strict, false, "ab\xC3", 80, Converted::Refused, ""},
        {"Latin-1 is no UTF-8", Policy::Strict, false, "\xFC", 80, Converted::Refused, ""},
        {"INF line", Policy::Strict, true, "Gr\xFC\xDF", 80, Converted::Done, "Grüß"},
        {"INF line with an undefined byte", Policy::Strict, true, "a\x90", 80, Converted::Refused, ""},
        {"generator text", Policy::Writing, false, "Bitte prüfen: Größe 5 €", 80, Converted::Done,
         "Bitte pr\xFC"
         "fen: Gr\xF6\xDF"
         "e 5 \x80"},
        {"carriage returns", Policy::Writing, false, "\r\r\rplain", 80, Converted::Done, "\r\r\rplain"},
        {"empty", Policy::Writing, false, "", 1, Converted::Done, ""},
        {"CJK", Policy::Writing, false, "漢字", 80, Converted::Refused, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        char out[80];
        memset(out, 'x', sizeof out);
        ASSERT_LE(c.size, sizeof out);
        Conversion done{};
        switch (c.policy) {
        case Policy::Field:
            done = run<kField>(c.decode, out, c.size, c.in);
            break;
        case Policy::Reading:
            done = run<kReading>(c.decode, out, c.size, c.in);
            break;
        case Policy::Strict:
            done = run<kStrict>(c.decode, out, c.size, c.in);
            break;
        case Policy::Writing:
            done = run<kWriting>(c.decode, out, c.size, c.in);
            break;
        }
        EXPECT_EQ(done.status, c.status);
        EXPECT_EQ(std::string(out, done.length), c.out);
        EXPECT_EQ(out[done.length], '\0');
    }
}

TEST(Windows1252, RefusalsSayWhyAndEveryByteDecodesToOneCharacter)
{
    char out[8];
    errno = 0;
    EXPECT_EQ(utf8ToWindows1252<kWriting>(out, sizeof out, "\xC3", 1).status, Converted::Refused);
    EXPECT_EQ(errno, EINVAL);  // cut off at the end
    EXPECT_EQ(utf8ToWindows1252<kWriting>(out, sizeof out, "\xE6\xBC\xA2", 3).status, Converted::Refused);
    EXPECT_EQ(errno, EILSEQ);
    // A field keeps its width: any 256 bytes come back as 256.
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    char utf8[3 * 256 + 1];
    const Conversion decoded = windows1252ToUtf8<kField>(utf8, sizeof utf8, all.data(), all.size());
    char back[257];
    EXPECT_EQ(utf8ToWindows1252<kField>(back, sizeof back, utf8, decoded.length).length, 256u);
}

TEST(Utf8Characters, LengthOfTheFirstWellFormedCharacter)
{
    const struct {
        std::string text;
        size_t length;
        size_t orByte;
    } cases[] = {{"a€", 1, 1},   {"€a", 3, 3},       {"\U0001F600", 4, 4},   {"\x80", 0, 1},
                 {"\xC3", 0, 1}, {"\xC0\xAF", 0, 1}, {"\xED\xA0\x80", 0, 1}, {"", 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(utf8CharacterLength(c.text.data(), c.text.size()), c.length);
        EXPECT_EQ(utf8CharacterOrByteLength(c.text.data(), c.text.size()), c.orByte);
    }
}

}  // namespace
}  // namespace common
