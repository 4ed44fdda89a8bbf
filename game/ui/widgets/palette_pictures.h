// The ten reference pictures a board field can show, drawn in code at the screen's pixel ratio.
#pragma once

#include <QImage>
#include <QPixmap>
#include <array>

#include "game/rules/palette.h"

namespace kv {

// Side of a picture (and of a board field) in logical pixels.
inline constexpr int kPictureSize = 62;

// One picture, kPictureSize x kPictureSize logical pixels, drawn directly at
// `devicePixelRatio` device pixels per logical pixel; the image carries that ratio. Entries
// outside 0..9 give a null image.
QImage drawPalettePicture(PaletteIndex entry, qreal devicePixelRatio);

// The ten pictures shared by every field, each drawn when it is first shown: the board of a
// new window is empty.
class PalettePictures {
public:
    explicit PalettePictures(qreal devicePixelRatio);
    // `entry` must be below kPaletteSize.
    const QPixmap& picture(PaletteIndex entry) const;
    qreal devicePixelRatio() const { return devicePixelRatio_; }

private:
    qreal devicePixelRatio_;
    mutable std::array<QPixmap, kPaletteSize> pictures_;
};

}  // namespace kv
