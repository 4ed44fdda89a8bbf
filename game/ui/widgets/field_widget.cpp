#include "game/ui/widgets/field_widget.h"

#include <QCursor>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include "game/rules/board.h"
#include "game/ui/widgets/field_drag_data.h"
#include "game/ui/widgets/palette_pictures.h"

namespace kv {
namespace {

QString whatFieldShows(std::optional<PaletteIndex> picture)
{
    static const char* const kNames[kPaletteSize] = {"rot",  "orange",  "gelb",  "grün",     "türkis",
                                                     "blau", "magenta", "Joker", "markiert", "blockiert"};
    return picture ? QString::fromUtf8(kNames[*picture]) : QStringLiteral("frei");
}

}  // namespace

FieldWidget::FieldWidget(int index, const PalettePictures& pictures, QWidget* parent)
    : QWidget(parent), index_(index), pictures_(pictures)
{
    setFixedSize(kPictureSize, kPictureSize);
    setAcceptDrops(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    updateAccessibleName();
}

void FieldWidget::updateAccessibleName()
{
    setAccessibleName(QStringLiteral("Feld %1,%2: %3")
                          .arg(index_ / kBoardSide + 1)
                          .arg(index_ % kBoardSide + 1)
                          .arg(whatFieldShows(picture_)));
}

void FieldWidget::setPicture(std::optional<PaletteIndex> entry)
{
    if (entry && *entry >= kPaletteSize)
        entry.reset();
    if (entry == picture_)
        return;
    picture_ = entry;
    updateAccessibleName();
    update();
}

void FieldWidget::setBaseColour(const QColor& colour)
{
    if (colour == baseColour_)
        return;
    baseColour_ = colour;
    update();
}

QSize FieldWidget::sizeHint() const
{
    return {kPictureSize, kPictureSize};
}

void FieldWidget::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.fillRect(rect(), baseColour_);
    if (picture_)
        painter.drawPixmap(0, 0, pictures_.picture(*picture_));
}

void FieldWidget::mousePressEvent(QMouseEvent* event)
{
    // Qt gives disabled widgets no mouse events; the check keeps that rule if this is ever
    // called another way.
    if (event->button() != Qt::LeftButton || !canStartDrag()) {
        QWidget::mousePressEvent(event);
        return;
    }
    event->accept();
    runDrag(event->position().toPoint());
}

QPixmap FieldWidget::dragPixmap() const
{
    if (picture_)
        return pictures_.picture(*picture_);
    // A vacated field can still be dragged; it shows what it looks like: its base colour.
    const qreal ratio = pictures_.devicePixelRatio() > 0 ? pictures_.devicePixelRatio() : 1.0;
    QPixmap empty(qRound(kPictureSize * ratio), qRound(kPictureSize * ratio));
    empty.setDevicePixelRatio(ratio);
    empty.fill(baseColour_);
    return empty;
}

void FieldWidget::runDrag(const QPoint& hotSpot)
{
    auto* drag = new QDrag(this);
    drag->setMimeData(makeFieldDragData(index_).release());
    drag->setPixmap(dragPixmap());
    drag->setHotSpot(hotSpot);

    dropDelivered_ = false;
    const QPointer<FieldWidget> self(this);
    drag->exec(Qt::MoveAction);
    if (!self)
        return;  // Qt itself deletes the finished drag

    // Some platforms cancel a drag that never moved instead of dropping it where it started.
    // A click is a drop on the field itself, so deliver it here when the pointer is still over
    // this field and no drop arrived.
    if (!dropDelivered_ && isEnabled() && rect().contains(mapFromGlobal(QCursor::pos()))) {
        dropDelivered_ = true;
        emit dropped(index_, index_);
    }
}

void FieldWidget::dragEnterEvent(QDragEnterEvent* event)
{
    // Entering asks the same as moving on: whether this field takes the drop.
    dragMoveEvent(event);
}

void FieldWidget::dragMoveEvent(QDragMoveEvent* event)
{
    if (isEnabled() && readFieldDragData(event->mimeData())) {
        event->setDropAction(Qt::MoveAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void FieldWidget::dropEvent(QDropEvent* event)
{
    const std::optional<int> source = readFieldDragData(event->mimeData());
    if (!isEnabled() || !source) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
    // The source's fallback for cancelled drags must not report this drop a second time.
    if (auto* sourceField = qobject_cast<FieldWidget*>(event->source()))
        sourceField->dropDelivered_ = true;
    emit dropped(index_, *source);
}

}  // namespace kv
