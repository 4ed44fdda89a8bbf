#include "scramble.h"

namespace mkpackage {

std::string scrambleText(std::string text) {
  std::uint32_t state = kScrambleSeed;
  for (std::size_t i = 1; i < text.size(); ++i) {
    state = state * 134775813u + 1u;
    const auto r = static_cast<std::uint32_t>((std::uint64_t{state} * 128u) >> 32);
    text[i] = static_cast<char>(static_cast<std::uint8_t>(text[i]) ^ (r | 0x80u));
  }
  return text;
}

}  // namespace mkpackage
