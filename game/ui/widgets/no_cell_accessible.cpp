#include "game/ui/widgets/no_cell_accessible.h"

#include <QRect>
#include <QString>

namespace kv {
namespace {

class NoCell : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    bool isValid() const override { return false; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return nullptr; }
    QAccessibleInterface* parent() const override { return nullptr; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text) const override { return {}; }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override { return {}; }
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.invalid = true;
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TableCellInterface ? static_cast<QAccessibleTableCellInterface*>(this)
                                                       : nullptr;
    }

    int rowIndex() const override { return -1; }
    int columnIndex() const override { return -1; }
    int rowExtent() const override { return 0; }
    int columnExtent() const override { return 0; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    bool isSelected() const override { return false; }
    QAccessibleInterface* table() const override { return nullptr; }
};

}  // namespace

QAccessible::Id registerNoCell()
{
    return QAccessible::registerAccessibleInterface(new NoCell);
}

}  // namespace kv
