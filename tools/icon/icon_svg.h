// The icon as scalable vector graphics, for the icon theme's "scalable" folder: the same fields,
// bevels and joker bands the game's field pictures draw pixel by pixel, as rectangles.
#pragma once

#include <QByteArray>

namespace kv::icon {

// A square SVG document, three fields of kPictureSize units wide.
QByteArray iconSvg();

}  // namespace kv::icon
