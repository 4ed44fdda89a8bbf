// The colours of the main window.
#pragma once

#include <QColor>

namespace kv::colours {

inline const QColor kWindowBackground{0, 128, 0};
inline const QColor kWindowForeground{192, 255, 192};
inline const QColor kLightGreen{230, 255, 230};  // base colour, title text, tree canvas
inline const QColor kTreeLines{0, 128, 0};
inline const QColor kButtonFace{185, 255, 185};
inline const QColor kInformationBackground{192, 255, 192};

}  // namespace kv::colours
