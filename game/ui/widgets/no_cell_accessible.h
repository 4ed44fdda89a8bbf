// What the board's table answers when asked for a cell off the board. Qt 6.4's AT-SPI bridge
// passes a screen reader's row and column on unchecked (IsSelected, GetRowExtentAt,
// GetColumnExtentAt, GetRowColumnExtentsAtIndex) and uses the cell it gets back without looking,
// so a table that answers "no cell" with a null pointer ends the program.
#pragma once

#include <QAccessible>

namespace kv {

// Registers a cell that is no object on the bus (invalid, so the bridge names it by the null
// path), lies in no row or column, spans nothing and is never selected. Qt's accessibility cache
// owns it; its owner removes it with QAccessible::deleteAccessibleInterface.
QAccessible::Id registerNoCell();

}  // namespace kv
