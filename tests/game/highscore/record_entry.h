// A highscore record as the game holds it, written in one line by the tests.
#pragma once

#include <cstdint>

#include "game/highscore/highscore_record.h"

namespace kv::test {

inline HighscoreRecord entry(int points, const char* name, const char* date = "")
{
    HighscoreRecord record;
    record.points = static_cast<std::int16_t>(points);
    record.name = name;
    record.date = date;
    return record;
}

}  // namespace kv::test
