// The tree canvas beside the board: a 152 x 152 widget with a sunken two-pixel border around a
// 148 x 148 drawing area that keeps what is drawn (a retained image at device resolution).
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QWidget>
#include <memory>
#include <vector>

#include "game/tree/tree_canvas.h"

namespace kv {

inline constexpr int kTreeCanvasSize = 152;
inline constexpr int kTreeCanvasBorder = 2;
inline constexpr int kTreeCanvasInner = kTreeCanvasSize - 2 * kTreeCanvasBorder;
inline constexpr int kTwipsPerPixel = 15;

class TreeCanvasWidget : public QWidget, public TreeCanvas {
public:
    explicit TreeCanvasWidget(QWidget* parent);
    ~TreeCanvasWidget() override;

    // Changing the background clears the drawing.
    void setBackgroundColour(const QColor& colour);
    QColor backgroundColour() const { return background_; }
    void setForegroundColour(const QColor& colour) { foreground_ = colour; }
    QColor foregroundColour() const { return foreground_; }

    // The retained inner image at the widget's current device pixel ratio.
    QImage image() const;

    // TreeCanvas, in twips (15 per pixel) inside the border.
    double innerWidth() const override;
    double innerHeight() const override;
    void clear() override;
    void setLineWidth(int pixels) override;
    void drawLine(int x1, int y1, int x2, int y2) override;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Line {
        int x1, y1, x2, y2;
        int width;
    };

    void fitImageToRatio() const;
    void renderLine(const Line& line) const;
    QPainter& imagePainter() const;
    void endImagePainting() const;
    void requestRepaint();

    QColor background_{192, 255, 192};
    QColor foreground_{0, 128, 0};
    int lineWidth_ = 1;
    // What is on the image since the last clear, so it can be drawn again at another ratio.
    std::vector<Line> lines_;
    mutable QImage image_;
    // Kept open across many short lines; ended before the image is read or shown.
    mutable std::unique_ptr<QPainter> painter_;
    bool repaintRequested_ = false;
};

}  // namespace kv
