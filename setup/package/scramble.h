#pragma once
// The key stream that hides the package's texts. XOR makes it its own
// inverse: the same call scrambles and unscrambles.
#include <stddef.h>
#include <stdint.h>

namespace setup {

constexpr uint32_t kScrambleSeed = 618;

// Works in place; the first byte stays plain and each text starts a fresh
// key stream, so texts of length 0 or 1 are left as they are.
constexpr void scrambleText(char* text, size_t length) {
  uint32_t state = kScrambleSeed;
  for (size_t i = 1; i < length; ++i) {
    state = state * 134775813u + 1u;
    const uint32_t high = static_cast<uint32_t>((static_cast<uint64_t>(state) * 128u) >> 32);
    text[i] = static_cast<char>(static_cast<unsigned char>(text[i]) ^ (high | 0x80u));
  }
}

}  // namespace setup
