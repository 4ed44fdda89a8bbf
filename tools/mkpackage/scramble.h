#pragma once
// The key stream that hides the header's texts; XOR makes scrambling its own inverse.

#include <cstdint>
#include <string>

namespace mkpackage {

inline constexpr std::uint32_t kScrambleSeed = 618;

// Returns text scrambled (or unscrambled): the first byte stays plain, and each text
// starts a fresh key stream from the seed.
std::string scrambleText(std::string text);

}  // namespace mkpackage
