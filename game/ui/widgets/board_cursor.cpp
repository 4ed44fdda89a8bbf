#include "game/ui/widgets/board_cursor.h"

#include <QAccessible>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <algorithm>

#include "game/ui/widgets/field_widget.h"

namespace kv {

BoardCursor::BoardCursor(const std::array<FieldWidget*, kFieldCount>& fields, QWidget* parent)
    : QWidget(parent), fields_(fields)
{
    // Over the fields, from the top-left one to the bottom-right one.
    setGeometry(fields_.front()->geometry().united(fields_.back()->geometry()));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(QStringLiteral("Spielbrett"));
    describeCursorField();
    for (FieldWidget* field : fields_)
        connect(field, &FieldWidget::dropped, this, &BoardCursor::hideCursor);
}

QRect BoardCursor::fieldRect(int index) const
{
    return fields_.at(static_cast<std::size_t>(index))->geometry().translated(-pos());
}

void BoardCursor::keyPressEvent(QKeyEvent* event)
{
    // Keys with Alt or Ctrl belong to the buttons' access keys and the window.
    if (event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier)) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Left:
        moveCursor(0, -1);
        break;
    case Qt::Key_Right:
        moveCursor(0, 1);
        break;
    case Qt::Key_Up:
        moveCursor(-1, 0);
        break;
    case Qt::Key_Down:
        moveCursor(1, 0);
        break;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        pickUpOrDrop();
        break;
    case Qt::Key_Escape:
        if (!pickedUp_) {
            QWidget::keyPressEvent(event);
            return;
        }
        putBack();
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    showCursor();
}

void BoardCursor::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason)
        showCursor();
    reportFocusedField();
}

void BoardCursor::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}

void BoardCursor::moveCursor(int rowStep, int columnStep)
{
    const int row = std::clamp(cursor_ / kBoardSide + rowStep, 0, kBoardSide - 1);
    const int column = std::clamp(cursor_ % kBoardSide + columnStep, 0, kBoardSide - 1);
    update(fieldRect(cursor_));
    cursor_ = row * kBoardSide + column;
    update(fieldRect(cursor_));
    describeCursorField();
    reportFocusedField();
}

void BoardCursor::pickUpOrDrop()
{
    // The first key only shows where the cursor is.
    if (!cursorShown())
        return;
    const FieldWidget& target = *fields_.at(static_cast<std::size_t>(cursor_));
    if (!pickedUp_) {
        if (target.canStartDrag()) {
            pickedUp_ = cursor_;
            update(fieldRect(cursor_));
        }
        return;
    }
    const FieldWidget& source = *fields_.at(static_cast<std::size_t>(*pickedUp_));
    // A start or an abort since the pick-up took the field away: a drag could no longer be under
    // way, so there is nothing to drop.
    if (!source.isDraggable()) {
        putBack();
        return;
    }
    // While a move is still being handled the field stays in hand.
    if (!target.canTakeDrop())
        return;
    const int from = *pickedUp_;
    putBack();
    emit dropped(cursor_, from);
}

void BoardCursor::putBack()
{
    if (pickedUp_)
        update(fieldRect(*pickedUp_));
    pickedUp_.reset();
}

void BoardCursor::showCursor()
{
    if (cursorShown_)
        return;
    cursorShown_ = true;
    update(fieldRect(cursor_));
}

void BoardCursor::hideCursor()
{
    if (!cursorShown_)
        return;
    cursorShown_ = false;
    update();
}

void BoardCursor::describeCursorField()
{
    setAccessibleDescription(fields_.at(static_cast<std::size_t>(cursor_))->accessibleName());
}

void BoardCursor::reportFocusedField()
{
    if (!hasFocus() || !QAccessible::isActive())
        return;
    QAccessibleEvent event(fields_.at(static_cast<std::size_t>(cursor_)), QAccessible::Focus);
    QAccessible::updateAccessibility(&event);
}

void BoardCursor::paintEvent(QPaintEvent*)
{
    if (!cursorShown())
        return;
    QPainter painter(this);
    // Black outside and white inside, so it shows on every colour and on the blocked fields.
    auto ring = [&](const QRect& r, int inset, int width, const QColor& colour) {
        const QRect outer = r.adjusted(inset, inset, -inset, -inset);
        const QRect inner = outer.adjusted(width, width, -width, -width);
        painter.fillRect(QRect(outer.topLeft(), QSize(outer.width(), width)), colour);
        painter.fillRect(QRect(outer.left(), inner.bottom() + 1, outer.width(), width), colour);
        painter.fillRect(QRect(outer.left(), inner.top(), width, inner.height()), colour);
        painter.fillRect(QRect(inner.right() + 1, inner.top(), width, inner.height()), colour);
    };
    if (pickedUp_) {
        // The field in hand keeps a thick white ring until it is dropped or put back.
        ring(fieldRect(*pickedUp_), 6, 4, Qt::white);
        ring(fieldRect(*pickedUp_), 10, 1, Qt::black);
    }
    ring(fieldRect(cursor_), 0, 3, Qt::black);
    ring(fieldRect(cursor_), 3, 1, Qt::white);
}

}  // namespace kv
