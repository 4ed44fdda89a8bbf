#pragma once
// Appends little-endian integers and raw bytes to a growing buffer.

#include <cstdint>
#include <string_view>
#include <vector>

#include "common/package_format/le_bytes.h"

namespace mkpackage {

using Bytes = std::vector<std::uint8_t>;

inline void putU8(Bytes& out, std::uint8_t v)
{
    out.push_back(v);
}

inline void putU16(Bytes& out, std::uint16_t v)
{
    out.resize(out.size() + 2);
    common::writeLe16(out.data() + out.size() - 2, v);
}

inline void putU32(Bytes& out, std::uint32_t v)
{
    out.resize(out.size() + 4);
    common::writeLe32(out.data() + out.size() - 4, v);
}

inline void putBytes(Bytes& out, const Bytes& bytes)
{
    out.insert(out.end(), bytes.begin(), bytes.end());
}

inline void putText(Bytes& out, std::string_view text)
{
    out.insert(out.end(), text.begin(), text.end());
}

// Bounds-checked: throws std::out_of_range for a field that runs past the end.
inline std::uint32_t readU32(const Bytes& in, std::size_t at)
{
    (void)in.at(at + 3);
    return common::readLe32(in.data() + at);
}

inline std::uint16_t readU16(const Bytes& in, std::size_t at)
{
    (void)in.at(at + 1);
    return common::readLe16(in.data() + at);
}

}  // namespace mkpackage
