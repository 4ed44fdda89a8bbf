// One cell of the highscore table: a flat single-line text for display only.
#pragma once

#include <QColor>
#include <QRect>
#include <Qt>

class QLineEdit;
class QWidget;

namespace kv {

QLineEdit* makeTableCell(const QRect& geometry, Qt::Alignment alignment, const QColor& background,
                         QWidget* parent);

// The width a cell leaves for its text: QLineEdit keeps two pixels on either side and needs one
// more for its cursor and one for rounding; a longer text is scrolled and loses its end.
int tableCellTextWidth(const QLineEdit& cell);

// Row 0 is the best rank; the first three rows are set off in shades of yellow.
QColor tableRowColour(int row);

}  // namespace kv
