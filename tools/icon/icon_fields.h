// What the icon shows: three by three board fields, a red diagonal among the other colours and
// a joker.
#pragma once

#include "game/rules/palette.h"

namespace kv::icon {

inline constexpr PaletteIndex kFields[3][3] = {{0, kJokerEntry, 5}, {2, 0, 3}, {4, 6, 0}};

}  // namespace kv::icon
