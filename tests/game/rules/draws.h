// Random numbers that land on a chosen outcome of the game's draws.
#pragma once

#include "game/rules/game.h"

namespace kv::test {

inline double fieldAt(int index)
{
    return (index + 0.5) / 81.0;
}
inline double colour(int entry)
{
    return (entry + 0.5) / GameState::kColourSpan;
}
inline double wipeOf(int entry)
{
    return (entry + 0.5) / 8.0;
}
inline constexpr double kNoChance = 0.0;   // no random wipe, no blocked field
inline constexpr double kChance = 0.9999;  // 7.0993 > 7 and 9.3591 > 9

}  // namespace kv::test
