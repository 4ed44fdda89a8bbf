// make_icon OUT.png [SIDE] | make_icon OUT.svg: the program entry's icon, three by three board
// fields drawn by the game's own picture code (a red diagonal among the other colours and a
// joker), SIDE x SIDE pixels (128 unless given; the desktop's icon theme wants one file per
// size), or the same as scalable vector graphics.
#include <QFile>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tools/icon/icon_fields.h"
#include "tools/icon/icon_svg.h"
#include "game/ui/widgets/palette_pictures.h"

namespace {

bool endsWith(const char* text, const char* end)
{
    const std::size_t length = std::strlen(text), endLength = std::strlen(end);
    return length >= endLength && std::strcmp(text + length - endLength, end) == 0;
}

int writeSvg(const char* path)
{
    QFile file(QString::fromLocal8Bit(path));
    const QByteArray svg = kv::icon::iconSvg();
    if (!file.open(QIODevice::WriteOnly) || file.write(svg) != svg.size() || !file.flush()) {
        std::fprintf(stderr, "make_icon: cannot write %s\n", path);
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && endsWith(argv[1], ".svg"))
        return writeSvg(argv[1]);
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: make_icon OUT.png [SIDE] | make_icon OUT.svg\n");
        return 2;
    }
    const int side = argc == 3 ? std::atoi(argv[2]) : 128;
    if (side < 8 || side > 1024) {
        std::fprintf(stderr, "make_icon: SIDE must lie between 8 and 1024, not %s\n", argv[2]);
        return 2;
    }
    // The pictures are drawn at least as large as the icon's third, so that scaling only ever
    // shrinks them and the edges stay sharp at every size.
    const qreal ratio = std::max(1.0, std::ceil(side / (3.0 * kv::kPictureSize)));
    const int field = static_cast<int>(std::lround(kv::kPictureSize * ratio));
    QImage board(3 * field, 3 * field, QImage::Format_RGB32);
    QPainter painter(&board);
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column) {
            QImage picture = kv::drawPalettePicture(kv::icon::kFields[row][column], ratio);
            picture.setDevicePixelRatio(1.0);
            painter.drawImage(column * field, row * field, picture);
        }
    painter.end();
    const QImage icon = board.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (!icon.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "make_icon: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
