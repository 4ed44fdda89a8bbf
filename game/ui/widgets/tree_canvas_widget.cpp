#include "game/ui/widgets/tree_canvas_widget.h"

#include <QPaintEvent>
#include <QPen>

namespace kv {

namespace {

// A twip position names the pixel it falls in; the line runs through that pixel's centre, so
// odd widths sit symmetrically on it.
QPointF pixelCentre(int xTwips, int yTwips)
{
    return {xTwips / static_cast<double>(kTwipsPerPixel) + 0.5,
            yTwips / static_cast<double>(kTwipsPerPixel) + 0.5};
}

}  // namespace

TreeCanvasWidget::TreeCanvasWidget(QWidget* parent) : QWidget(parent)
{
    setFixedSize(kTreeCanvasSize, kTreeCanvasSize);
    setAttribute(Qt::WA_OpaquePaintEvent);
    fitImageToRatio();
}

TreeCanvasWidget::~TreeCanvasWidget() = default;

QSize TreeCanvasWidget::sizeHint() const
{
    return {kTreeCanvasSize, kTreeCanvasSize};
}

double TreeCanvasWidget::innerWidth() const
{
    return kTreeCanvasInner * kTwipsPerPixel;
}

double TreeCanvasWidget::innerHeight() const
{
    return kTreeCanvasInner * kTwipsPerPixel;
}

void TreeCanvasWidget::setBackgroundColour(const QColor& colour)
{
    background_ = colour;
    clear();
}

void TreeCanvasWidget::clear()
{
    endImagePainting();
    lines_.clear();
    fitImageToRatio();
    image_.fill(background_);
    requestRepaint();
}

void TreeCanvasWidget::setLineWidth(int pixels)
{
    lineWidth_ = pixels;
}

void TreeCanvasWidget::drawLine(int x1, int y1, int x2, int y2)
{
    const Line line{x1, y1, x2, y2, lineWidth_};
    lines_.push_back(line);
    renderLine(line);
    requestRepaint();
}

QImage TreeCanvasWidget::image() const
{
    fitImageToRatio();
    endImagePainting();
    return image_;
}

void TreeCanvasWidget::requestRepaint()
{
    // A tree is thousands of lines; one pending update covers them all.
    if (repaintRequested_)
        return;
    repaintRequested_ = true;
    update();
}

QPainter& TreeCanvasWidget::imagePainter() const
{
    if (!painter_) {
        painter_ = std::make_unique<QPainter>(&image_);
        painter_->setRenderHint(QPainter::Antialiasing, false);
    }
    return *painter_;
}

void TreeCanvasWidget::endImagePainting() const
{
    painter_.reset();
}

void TreeCanvasWidget::renderLine(const Line& line) const
{
    QPainter& painter = imagePainter();
    // A width below one pixel still draws the thinnest line, as a zero width would.
    QPen pen(foreground_, std::max(line.width, 1));
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.drawLine(pixelCentre(line.x1, line.y1), pixelCentre(line.x2, line.y2));
}

// The image follows the screen's pixel ratio; when it changes (another screen), the recorded
// lines are drawn again so the tree stays crisp instead of being scaled.
void TreeCanvasWidget::fitImageToRatio() const
{
    const qreal ratio = devicePixelRatioF() > 0 ? devicePixelRatioF() : 1.0;
    if (!image_.isNull() && qFuzzyCompare(image_.devicePixelRatio(), ratio))
        return;
    endImagePainting();
    const int side = qRound(kTreeCanvasInner * ratio);
    image_ = QImage(side, side, QImage::Format_RGB32);
    image_.setDevicePixelRatio(ratio);
    image_.fill(background_);
    for (const Line& line : lines_)
        renderLine(line);
}

void TreeCanvasWidget::paintEvent(QPaintEvent* /*event*/)
{
    repaintRequested_ = false;
    fitImageToRatio();
    endImagePainting();

    QPainter painter(this);
    const int last = kTreeCanvasSize - 1;
    // A classic sunken edge: grey over white outside, near-black over light grey inside.
    painter.fillRect(QRect(0, 0, kTreeCanvasSize, kTreeCanvasSize), QColor(255, 255, 255));
    painter.fillRect(QRect(0, 0, last, 1), QColor(128, 128, 128));
    painter.fillRect(QRect(0, 0, 1, last), QColor(128, 128, 128));
    painter.fillRect(QRect(1, 1, last - 1, last - 1), QColor(192, 192, 192));
    painter.fillRect(QRect(1, 1, last - 2, 1), QColor(64, 64, 64));
    painter.fillRect(QRect(1, 1, 1, last - 2), QColor(64, 64, 64));
    painter.drawImage(QPoint(kTreeCanvasBorder, kTreeCanvasBorder), image_);
}

}  // namespace kv
