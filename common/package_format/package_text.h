#pragma once
// The texts of the package header: Windows-1252, and the notice, welcome and licence texts
// scrambled with a key stream. XOR makes the stream its own inverse: the same call
// scrambles and unscrambles.
#include <stddef.h>
#include <stdint.h>

#include "common/text/windows1252.h"

namespace common {

constexpr uint32_t kScrambleSeed = 618;

// Works in place; the first byte stays plain and each text starts a fresh key stream, so
// texts of length 0 or 1 are left as they are.
constexpr void scrambleText(char* text, size_t length)
{
    uint32_t state = kScrambleSeed;
    for (size_t i = 1; i < length; ++i) {
        state = state * 134775813u + 1u;
        const uint32_t high = static_cast<uint32_t>((static_cast<uint64_t>(state) * 128u) >> 32);
        text[i] = static_cast<char>(static_cast<unsigned char>(text[i]) ^ (high | 0x80u));
    }
}

// The generator writes only what the code page holds, and not at all without a converter.
constexpr Windows1252Policy kPackageTextWriting{Unmappable::Refuse, WithoutConverter::Fail};
// The setup shows whatever a package holds: an undefined byte becomes '?'.
constexpr Windows1252Policy kPackageTextReading{Unmappable::QuestionMark, WithoutConverter::Latin1};
// Passwords are keyed in the package's code page. A typed character it lacks cannot be part
// of one: such an answer is simply wrong.
constexpr Windows1252Policy kPasswordKeying{Unmappable::Refuse, WithoutConverter::AsciiOnly};

}  // namespace common
