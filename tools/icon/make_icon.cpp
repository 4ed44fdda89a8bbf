// make_icon OUT.png: the program entry's icon, three by three board fields drawn by the game's
// own picture code (a red diagonal among the other colours and a joker), 128 x 128 pixels.
#include <QImage>
#include <QPainter>
#include <cstdio>

#include "ui/widgets/palette_pictures.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_icon OUT.png\n");
        return 2;
    }
    constexpr int kSide = 128;
    constexpr kv::PaletteIndex kFields[3][3] = {{0, kv::kJokerEntry, 5}, {2, 0, 3}, {4, 6, 0}};
    QImage board(3 * kv::kPictureSize, 3 * kv::kPictureSize, QImage::Format_RGB32);
    QPainter painter(&board);
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            painter.drawImage(column * kv::kPictureSize, row * kv::kPictureSize,
                              kv::drawPalettePicture(kFields[row][column], 1.0));
    painter.end();
    const QImage icon = board.scaled(kSide, kSide, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (!icon.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "make_icon: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
