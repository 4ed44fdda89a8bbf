#include "game/ui/widgets/board_accessible.h"

#include <QAccessibleWidget>

#include "game/ui/widgets/board_cursor.h"
#include "game/ui/widgets/field_widget.h"
#include "game/ui/widgets/no_cell_accessible.h"

namespace kv {
namespace {

BoardCursor* boardOf(const FieldWidget& field)
{
    QWidget* window = field.parentWidget();
    return window ? window->findChild<BoardCursor*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

bool isBoardLine(int rowOrColumn)
{
    return rowOrColumn >= 0 && rowOrColumn < kBoardSide;
}

class BoardTable : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit BoardTable(BoardCursor* board)
        : QAccessibleWidget(board, QAccessible::Table), noCell_(registerNoCell())
    {
    }
    ~BoardTable() override { QAccessible::deleteAccessibleInterface(noCell_); }
    BoardTable(const BoardTable&) = delete;
    BoardTable& operator=(const BoardTable&) = delete;

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    int childCount() const override { return kFieldCount; }
    QAccessibleInterface* child(int index) const override
    {
        if (!isFieldIndex(index))
            return nullptr;
        return QAccessible::queryAccessibleInterface(board().fields().at(static_cast<std::size_t>(index)));
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        const auto* field = child ? qobject_cast<const FieldWidget*>(child->object()) : nullptr;
        return field && boardOf(*field) == &board() ? field->index() : -1;
    }
    // Any point a client names, far off the screen too: compared, never shifted, so nothing
    // overflows.
    QAccessibleInterface* childAt(int x, int y) const override
    {
        for (FieldWidget* field : board().fields())
            if (QRect(field->mapToGlobal(QPoint(0, 0)), field->size()).contains(x, y))
                return QAccessible::queryAccessibleInterface(field);
        return nullptr;
    }
    QAccessibleInterface* focusChild() const override
    {
        return board().hasFocus() ? child(board().cursor()) : nullptr;
    }

    // Never null: the bridge reads the cell interface of whatever comes back.
    QAccessibleInterface* cellAt(int row, int column) const override
    {
        if (!isBoardLine(row) || !isBoardLine(column))
            return QAccessible::accessibleInterface(noCell_);
        return child(row * kBoardSide + column);
    }
    int rowCount() const override { return kBoardSide; }
    int columnCount() const override { return kBoardSide; }
    QString rowDescription(int row) const override
    {
        return isBoardLine(row) ? QStringLiteral("Zeile %1").arg(row + 1) : QString();
    }
    QString columnDescription(int column) const override
    {
        return isBoardLine(column) ? QStringLiteral("Spalte %1").arg(column + 1) : QString();
    }
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }

    // The selection is the field in hand, picked up by the keyboard; the player chooses it
    // with the keys, not through the table.
    int selectedCellCount() const override { return board().pickedUp() ? 1 : 0; }
    QList<QAccessibleInterface*> selectedCells() const override
    {
        if (!board().pickedUp())
            return {};
        return {child(*board().pickedUp())};
    }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

private:
    const BoardCursor& board() const { return *static_cast<BoardCursor*>(widget()); }

    const QAccessible::Id noCell_;
};

class FieldCell : public QAccessibleWidget, public QAccessibleTableCellInterface {
public:
    explicit FieldCell(FieldWidget* field) : QAccessibleWidget(field, QAccessible::Cell) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableCellInterface)
            return static_cast<QAccessibleTableCellInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessibleInterface* parent() const override
    {
        BoardCursor* board = boardOf(field());
        return board ? QAccessible::queryAccessibleInterface(board) : QAccessibleWidget::parent();
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        const BoardCursor* board = boardOf(field());
        state.focusable = board != nullptr;
        state.focused = board && board->hasFocus() && board->cursor() == field().index();
        state.selectable = state.focusable;
        state.selected = isSelected();
        return state;
    }

    int rowIndex() const override { return field().index() / kBoardSide; }
    int columnIndex() const override { return field().index() % kBoardSide; }
    int rowExtent() const override { return 1; }
    int columnExtent() const override { return 1; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    bool isSelected() const override
    {
        const BoardCursor* board = boardOf(field());
        return board && board->pickedUp() == field().index();
    }
    QAccessibleInterface* table() const override { return parent(); }

private:
    const FieldWidget& field() const { return *static_cast<FieldWidget*>(widget()); }
};

// The window's own children, less the fields, which belong to the table.
class BoardWindow : public QAccessibleWidget {
public:
    explicit BoardWindow(QWidget* window) : QAccessibleWidget(window, QAccessible::Window) {}

    int childCount() const override { return static_cast<int>(children().size()); }
    QAccessibleInterface* child(int index) const override { return children().value(index); }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return static_cast<int>(children().indexOf(const_cast<QAccessibleInterface*>(child)));
    }

private:
    QList<QAccessibleInterface*> children() const
    {
        QList<QAccessibleInterface*> shown;
        for (int i = 0; i < QAccessibleWidget::childCount(); ++i) {
            QAccessibleInterface* child = QAccessibleWidget::child(i);
            if (child && !qobject_cast<FieldWidget*>(child->object()))
                shown.append(child);
        }
        return shown;
    }
};

}  // namespace

QAccessibleInterface* boardAccessible(const QString& className, QObject* object)
{
    if (auto* board = qobject_cast<BoardCursor*>(object))
        return new BoardTable(board);
    if (auto* field = qobject_cast<FieldWidget*>(object))
        return new FieldCell(field);
    // Asked once per class of the object's ancestry: only its own class needs the look.
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget && widget->isWindow() && className == QLatin1String(object->metaObject()->className()) &&
        widget->findChild<BoardCursor*>(QString(), Qt::FindDirectChildrenOnly))
        return new BoardWindow(widget);
    return nullptr;
}

}  // namespace kv
