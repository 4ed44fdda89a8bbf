// The board as assistive technology sees it: a table of 9 x 9 cells, one per field, whose
// focused cell is the keyboard cursor's field. Without it the fields are 81 nameless-role
// widgets beside the board, which screen readers pass over.
#pragma once

class QAccessibleInterface;
class QObject;
class QString;

namespace kv {

// A factory for QAccessible::installFactory: the table for the BoardCursor, a cell for each
// FieldWidget, and for the window holding them its own children without the fields, which are
// the table's.
QAccessibleInterface* boardAccessible(const QString& className, QObject* object);

}  // namespace kv
