#include "game/ui/widgets/bevel_colours.h"

#include <array>

namespace kv {

namespace {

// Red's rings fix the grading: its light rings mix 160, 120, 80, 40 parts of 255 of white into
// the colour, its dark rings keep 95, 135, 175, 215 parts of 255 of it. Every other colour is
// graded with the same shares, so all seven bevels look alike.
constexpr std::array<int, kBevelRings> kWhiteShare = {160, 120, 80, 40};
constexpr std::array<int, kBevelRings> kKeptShare = {95, 135, 175, 215};

int towardsWhite(int component, int share)
{
    return component + ((255 - component) * share + 127) / 255;
}

int darkened(int component, int share)
{
    return (component * share + 127) / 255;
}

}  // namespace

QColor paletteColour(int colourEntry)
{
    static const std::array<QColor, kColourCount> colours = {
        QColor(255, 0, 0),   QColor(255, 196, 0), QColor(255, 255, 0), QColor(0, 255, 0),
        QColor(0, 255, 255), QColor(0, 0, 255),   QColor(255, 0, 255),
    };
    if (colourEntry < 0 || colourEntry >= kColourCount)
        return {};
    return colours[static_cast<std::size_t>(colourEntry)];
}

QColor lightRing(const QColor& base, int ring)
{
    const int share = kWhiteShare.at(static_cast<std::size_t>(ring));
    return {towardsWhite(base.red(), share), towardsWhite(base.green(), share),
            towardsWhite(base.blue(), share)};
}

QColor darkRing(const QColor& base, int ring)
{
    const int share = kKeptShare.at(static_cast<std::size_t>(ring));
    return {darkened(base.red(), share), darkened(base.green(), share), darkened(base.blue(), share)};
}

}  // namespace kv
