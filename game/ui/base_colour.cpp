#include "game/ui/base_colour.h"

#include <array>
#include <utility>

namespace kv {

std::optional<QColor> nextBaseColour(const QColor& current)
{
    static const std::array<std::pair<QColor, QColor>, 6> kCycle = {{
        {QColor(230, 255, 230), QColor(255, 255, 255)},
        {QColor(255, 255, 255), QColor(230, 230, 230)},
        {QColor(230, 230, 230), QColor(195, 195, 195)},
        {QColor(195, 195, 195), QColor(0, 0, 0)},
        {QColor(0, 0, 0), QColor(255, 230, 230)},
        {QColor(255, 230, 230), QColor(230, 255, 230)},
    }};
    for (const auto& [from, to] : kCycle) {
        if (from.rgb() == current.rgb())
            return to;
    }
    return std::nullopt;
}

}  // namespace kv
