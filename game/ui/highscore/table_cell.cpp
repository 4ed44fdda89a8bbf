#include "game/ui/highscore/table_cell.h"

#include <QLineEdit>
#include <QPalette>

#include "game/ui/highscore/framed_window.h"

namespace kv {

QLineEdit* makeTableCell(const QRect& geometry, Qt::Alignment alignment, const QColor& background,
                         QWidget* parent)
{
    auto* cell = new QLineEdit(parent);
    cell->setGeometry(geometry);
    cell->setFrame(false);
    cell->setReadOnly(true);
    cell->setAlignment(alignment | Qt::AlignVCenter);
    cell->setFont(dialogFont());
    // The same colours in every state: disabled rank cells still read black on their row colour.
    QPalette palette = cell->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base, background);
        palette.setColor(group, QPalette::Text, Qt::black);
    }
    cell->setPalette(palette);
    return cell;
}

int tableCellTextWidth(const QLineEdit& cell)
{
    constexpr int kSideMargin = 2;
    constexpr int kCursorAndRounding = 2;
    const QMargins text = cell.textMargins();
    return cell.contentsRect().width() - text.left() - text.right() - 2 * kSideMargin - kCursorAndRounding;
}

QColor tableRowColour(int row)
{
    switch (row) {
    case 0:
        return QColor(255, 255, 0);
    case 1:
        return QColor(255, 255, 128);
    case 2:
        return QColor(255, 255, 192);
    default:
        return QColor(255, 255, 255);
    }
}

}  // namespace kv
