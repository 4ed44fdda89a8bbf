#include "setup/dialogs/setup_icon.h"

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>

namespace setup {
namespace {

constexpr int kSize = 32;
constexpr QRgb kFrame = 0xFF000080;     // dark blue board edge
constexpr QRgb kGap = 0xFFC0C0C0;       // light grey between the fields
// A corner of the board: three rows of three fields in the game's colours,
// the centre one a joker.
constexpr QRgb kFields[9] = {0xFFFF0000, 0xFFFFFF00, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF,
                             0xFFFF00FF, 0xFF00FFFF, 0xFF008000, 0xFF800000};

QRgb pixelAt(int x, int y) {
  if (x < 2 || y < 2 || x >= kSize - 2 || y >= kSize - 2) return kFrame;
  // Fields of 8 pixels with a 2-pixel gap, starting inside the frame.
  const int column = (x - 2) / 10;
  const int row = (y - 2) / 10;
  if ((x - 2) % 10 >= 8 || (y - 2) % 10 >= 8 || column > 2 || row > 2) return kGap;
  // The joker shows its many colours as stripes.
  if (row == 1 && column == 1) return kFields[(x + y) % 8];
  return kFields[row * 3 + column];
}

}  // namespace

void applySetupIcon() {
  QImage image(kSize, kSize, QImage::Format_RGB32);
  for (int y = 0; y < kSize; ++y) {
    QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < kSize; ++x) line[x] = pixelAt(x, y);
  }
  QApplication::setWindowIcon(QIcon(QPixmap::fromImage(image)));
}

}  // namespace setup
