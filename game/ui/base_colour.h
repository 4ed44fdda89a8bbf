// The fixed cycle of the board fields' base colour.
#pragma once

#include <QColor>

#include <optional>

namespace kv {

// The colour after `current` in the cycle light green, white, light grey, grey, black, light
// pink and back to light green; nothing for a colour outside the cycle.
std::optional<QColor> nextBaseColour(const QColor& current);

}  // namespace kv
