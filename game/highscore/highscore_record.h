// One entry of the highscore table and its 39-byte form in the file.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "game/highscore/fixed_width_text.h"

namespace kv {

struct HighscoreRecord {
    std::int16_t points = 0;
    FixedWidthText<20> name;  // blanks unless assigned
    FixedWidthText<17> date;

    bool operator==(const HighscoreRecord&) const = default;
};

// On disk: points as little-endian 16-bit integer, then name and date with one Windows-1252 byte
// per character, blank-padded, no separators and no terminator.
inline constexpr std::size_t kHighscoreRecordSize = 2 + 20 + 17;
using HighscoreRecordBytes = std::array<unsigned char, kHighscoreRecordSize>;

HighscoreRecordBytes encodeHighscoreRecord(const HighscoreRecord& record);
HighscoreRecord decodeHighscoreRecord(const HighscoreRecordBytes& bytes);

}  // namespace kv
