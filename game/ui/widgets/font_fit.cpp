#include "game/ui/widgets/font_fit.h"

#include <QAbstractButton>
#include <QFont>
#include <QFontMetricsF>
#include <QStyle>

#include <algorithm>
#include <cmath>

namespace kv {
namespace {

constexpr qreal kSmallestPointSize = 6.0;
// Free face kept on either side of a fitted caption: a caption fitted to the last pixel the style
// leaves touches the button's bevel once drawn with hinting and the substitute font.
constexpr int kCaptionMargin = 3;

qreal widest(const QFont& font, const QStringList& lines)
{
    const QFontMetricsF metrics(font);
    qreal width = 0;
    for (const QString& line : lines)
        width = std::max(width, metrics.horizontalAdvance(line));
    return width;
}

qreal stackedHeight(const QFont& font, const QStringList& lines, int height)
{
    return height > 0 ? QFontMetricsF(font).lineSpacing() * lines.size() : 0;
}

bool fits(const QFont& font, const QStringList& lines, int width, int height)
{
    return widest(font, lines) <= width && stackedHeight(font, lines, height) <= height;
}

}  // namespace

void fitFontToBox(QWidget* widget, const QStringList& lines, int width, int height)
{
    QFont font = widget->font();
    if (!fits(font, lines, width, height)) {
        // Text grows about in proportion to the point size, so one measurement gives a close
        // first guess; every size tried costs a font of its own, which is slow at start-up.
        const qreal tall = stackedHeight(font, lines, height);
        qreal scale = width / std::max(widest(font, lines), qreal(1));
        if (tall > 0)
            scale = std::min(scale, height / tall);
        const qreal guess = std::floor(font.pointSizeF() * scale * 2) / 2;
        font.setPointSizeF(std::max(guess, kSmallestPointSize));
        // Hinting makes the growth a little uneven: the next half point up may still fit.
        QFont larger = font;
        larger.setPointSizeF(font.pointSizeF() + 0.5);
        if (larger.pointSizeF() <= widget->font().pointSizeF() && fits(larger, lines, width, height))
            font = larger;
    }
    while (!fits(font, lines, width, height) && font.pointSizeF() - 0.5 >= kSmallestPointSize)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    widget->setFont(font);
}

int buttonTextWidth(const QAbstractButton& button)
{
    const QStyle* style = button.style();
    return button.width() - style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, &button) -
           2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &button);
}

void fitButtonCaptions(QAbstractButton* button, QStringList captions)
{
    if (captions.isEmpty())
        captions << button->text();
    for (QString& caption : captions)
        caption.remove(u'&');
    fitFontToBox(button, captions, buttonTextWidth(*button) - 2 * kCaptionMargin);
}

}  // namespace kv
