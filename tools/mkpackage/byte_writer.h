#pragma once
// Appends little-endian integers and raw bytes to a growing buffer.

#include <cstdint>
#include <string_view>
#include <vector>

namespace mkpackage {

using Bytes = std::vector<std::uint8_t>;

inline void putU8(Bytes& out, std::uint8_t v) { out.push_back(v); }

inline void putU16(Bytes& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

inline void putU32(Bytes& out, std::uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

inline void putBytes(Bytes& out, const Bytes& bytes) {
  out.insert(out.end(), bytes.begin(), bytes.end());
}

inline void putText(Bytes& out, std::string_view text) {
  out.insert(out.end(), text.begin(), text.end());
}

inline std::uint32_t readU32(const Bytes& in, std::size_t at) {
  return std::uint32_t(in.at(at)) | std::uint32_t(in.at(at + 1)) << 8 |
         std::uint32_t(in.at(at + 2)) << 16 | std::uint32_t(in.at(at + 3)) << 24;
}

inline std::uint16_t readU16(const Bytes& in, std::size_t at) {
  return static_cast<std::uint16_t>(in.at(at) | in.at(at + 1) << 8);
}

}  // namespace mkpackage
