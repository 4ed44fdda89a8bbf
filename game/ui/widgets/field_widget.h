// One board field: a 62 x 62 square showing the base colour and, over it, a palette picture.
// A press on a draggable field starts a drag at once; a release over any field drops there.
#pragma once

#include <QColor>
#include <QWidget>
#include <functional>
#include <optional>

#include "game/rules/palette.h"

namespace kv {

class PalettePictures;

class FieldWidget : public QWidget {
    Q_OBJECT
public:
    FieldWidget(int index, const PalettePictures& pictures, QWidget* parent);

    int index() const { return index_; }

    // No picture lets the base colour show. The accessible name says what the field shows:
    // "Feld 3,5: rot", "Feld 1,1: frei", "… blockiert", "… Joker".
    void setPicture(std::optional<PaletteIndex> entry);
    std::optional<PaletteIndex> picture() const { return picture_; }

    void setDraggable(bool draggable) { draggable_ = draggable; }
    bool isDraggable() const { return draggable_; }
    // Asked before every drag: a drag that starts while the game cannot take its drop would
    // swallow the player's move.
    void setDragGate(std::function<bool()> gate) { dragGate_ = std::move(gate); }
    bool canStartDrag() const { return draggable_ && canTakeDrop(); }
    bool canTakeDrop() const { return isEnabled() && (!dragGate_ || dragGate_()); }

    void setBaseColour(const QColor& colour);
    QColor baseColour() const { return baseColour_; }

    QSize sizeHint() const override;

signals:
    // A field dragged from `sourceIndex` was released over this field (also itself).
    void dropped(int targetIndex, int sourceIndex);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void updateAccessibleName();
    void runDrag(const QPoint& hotSpot);
    QPixmap dragPixmap() const;

    int index_;
    const PalettePictures& pictures_;
    std::optional<PaletteIndex> picture_;
    bool draggable_ = false;
    std::function<bool()> dragGate_;
    QColor baseColour_{224, 224, 224};
    // Set by the field a drag from this one was dropped on, so the fallback for a drag that the
    // platform cancelled never reports a second drop.
    bool dropDelivered_ = false;
};

}  // namespace kv
