// Keyboard play on the board: one stop in the Tab order that lies over the fields, lets every
// mouse event through to them, and draws a field cursor while it has the keyboard focus and the
// keyboard is used; a move with the mouse hides it until the next key.
//
// Arrow keys move the cursor; Space or Return picks up the field under it where a drag could
// start there, and a second Space or Return drops it on the cursor's field, itself included;
// Escape puts it back.
#pragma once

#include <QWidget>
#include <array>
#include <optional>

#include "game/rules/board.h"

namespace kv {

class FieldWidget;

class BoardCursor : public QWidget {
    Q_OBJECT
public:
    static constexpr int kStartField = 40;  // the middle of the board

    // `fields` are the board's widgets in index order, children of `parent` like this one.
    BoardCursor(const std::array<FieldWidget*, kFieldCount>& fields, QWidget* parent);

    const std::array<FieldWidget*, kFieldCount>& fields() const { return fields_; }
    int cursor() const { return cursor_; }
    std::optional<int> pickedUp() const { return pickedUp_; }
    // The cursor is drawn, while the board has the focus, from its focus by Tab or the first key
    // it gets, until a move with the mouse.
    bool cursorShown() const { return cursorShown_ && hasFocus(); }

signals:
    // The same report a field gives when a drag from `sourceIndex` ends over it.
    void dropped(int targetIndex, int sourceIndex);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void moveCursor(int rowStep, int columnStep);
    void pickUpOrDrop();
    void putBack();
    void showCursor();
    void hideCursor();
    void describeCursorField();
    // Screen readers follow the cursor's field as the focused cell of the board's table.
    void reportFocusedField();
    QRect fieldRect(int index) const;

    const std::array<FieldWidget*, kFieldCount>& fields_;
    int cursor_ = kStartField;
    std::optional<int> pickedUp_;
    bool cursorShown_ = false;
};

}  // namespace kv
