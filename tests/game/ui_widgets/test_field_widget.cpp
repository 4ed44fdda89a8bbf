// Board fields: painting, starting drags, which drops arrive, and that each drop is reported once.
//
// The offscreen platform runs no drag loop: QDrag::exec returns at once without a drop. So a
// press here exercises the start of a drag and the fallback that turns a drag ending over its own
// field into a drop there (a click), and drops are delivered the way the platform would deliver
// them: drag events sent to the window, which Qt routes to the widget under the pointer.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>
#include <array>
#include <memory>

#include "game/ui/widgets/field_drag_data.h"
#include "game/ui/widgets/field_widget.h"
#include "game/ui/widgets/palette_pictures.h"

using kv::FieldWidget;

namespace {

// Three fields in a row at the board's pitch, on a window that itself takes no drops.
struct Board {
    Board() : pictures(1.0)
    {
        window.resize(300, 120);
        for (int i = 0; i < 3; ++i) {
            fields[static_cast<std::size_t>(i)] = new FieldWidget(10 + i, pictures, &window);
            fields[static_cast<std::size_t>(i)]->move(20 + 63 * i, 20);
        }
        window.show();
        exposed = QTest::qWaitForWindowExposed(&window);
    }
    FieldWidget& field(int i) { return *fields[static_cast<std::size_t>(i)]; }
    QPoint centreInWindow(int i) { return field(i).geometry().center(); }

    kv::PalettePictures pictures;
    QWidget window;
    std::array<FieldWidget*, 3> fields{};
    bool exposed = false;
};

// What the platform does when a drag ends at `windowPos`: enter, move, drop.
bool dropOnWindow(QWidget& window, const QPoint& windowPos, const QMimeData& data)
{
    QWindow* handle = window.windowHandle();
    QDragEnterEvent enter(windowPos, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(handle, &enter);
    QDragMoveEvent move(windowPos, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(handle, &move);
    QDropEvent drop(windowPos, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(handle, &drop);
    return drop.isAccepted();
}

QList<int> args(const QSignalSpy& spy, int i)
{
    return {spy.at(i).at(0).toInt(), spy.at(i).at(1).toInt()};
}

}  // namespace

class TestFieldWidget : public QObject {
    Q_OBJECT
private slots:
    void paintsBaseColourThenPictureOverTheWholeField()
    {
        Board board;
        FieldWidget& field = board.field(0);
        QCOMPARE(field.size(), QSize(62, 62));
        field.setBaseColour(QColor(230, 255, 230));
        QImage empty = field.grab().toImage();
        QCOMPARE(empty.pixelColor(0, 0), QColor(230, 255, 230));
        QCOMPARE(empty.pixelColor(61, 61), QColor(230, 255, 230));

        field.setPicture(kv::PaletteIndex{5});
        QCOMPARE(field.picture(), std::optional<kv::PaletteIndex>(5));
        const QImage blue = field.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(blue, kv::drawPalettePicture(5, 1.0));

        field.setPicture(std::nullopt);
        QCOMPARE(field.grab().toImage().pixelColor(30, 30), QColor(230, 255, 230));
        field.setPicture(kv::PaletteIndex{200});  // no such picture: the field shows none
        QCOMPARE(field.picture(), std::nullopt);
    }

    // A field drag dropped on a field is reported once, by the target only, with both indices;
    // a disabled field takes none.
    void dropOfAFieldIsReportedOnceByTheTarget_data()
    {
        QTest::addColumn<int>("source");  // the dragged field's index
        QTest::addColumn<int>("target");  // 0 to 2: fields 10 to 12
        QTest::addColumn<bool>("enabled");
        QTest::newRow("from another field") << 10 << 2 << true;
        QTest::newRow("on its own field") << 11 << 1 << true;
        QTest::newRow("on a disabled field") << 10 << 2 << false;
    }

    void dropOfAFieldIsReportedOnceByTheTarget()
    {
        QFETCH(int, source);
        QFETCH(int, target);
        QFETCH(bool, enabled);
        Board board;
        QVERIFY(board.exposed);
        board.field(target).setEnabled(enabled);
        QList<QSignalSpy*> spies;
        for (int i = 0; i < 3; ++i)
            spies.append(new QSignalSpy(&board.field(i), &FieldWidget::dropped));
        const auto data = kv::makeFieldDragData(source);
        QCOMPARE(dropOnWindow(board.window, board.centreInWindow(target), *data), enabled);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(spies[i]->count(), i == target && enabled ? 1 : 0);
        if (enabled)
            QCOMPARE(args(*spies[target], 0), (QList<int>{10 + target, source}));
        qDeleteAll(spies);
    }

    void dropsBesideTheFieldsOrOfForeignDataDoNothing()
    {
        Board board;
        QVERIFY(board.exposed);
        QList<QSignalSpy*> spies;
        for (int i = 0; i < 3; ++i)
            spies.append(new QSignalSpy(&board.field(i), &FieldWidget::dropped));

        const auto ours = kv::makeFieldDragData(10);
        QVERIFY(!dropOnWindow(board.window, QPoint(5, 5), *ours));    // window background
        QVERIFY(!dropOnWindow(board.window, QPoint(82, 50), *ours));  // the gap between fields

        QMimeData text;
        text.setText(QStringLiteral("10"));
        QVERIFY(!dropOnWindow(board.window, board.centreInWindow(2), text));

        // Our type, but from another process or naming no field.
        QMimeData forged;
        QByteArray payload;
        QDataStream out(&payload, QIODevice::WriteOnly);
        out << static_cast<qint64>(QCoreApplication::applicationPid() + 1) << static_cast<qint32>(10);
        forged.setData(QString::fromLatin1(kv::kFieldMimeType), payload);
        QVERIFY(!dropOnWindow(board.window, board.centreInWindow(2), forged));
        QVERIFY(!kv::readFieldDragData(&forged));
        QVERIFY(!kv::readFieldDragData(kv::makeFieldDragData(81).get()));
        QVERIFY(!kv::readFieldDragData(kv::makeFieldDragData(-1).get()));
        QCOMPARE(kv::readFieldDragData(kv::makeFieldDragData(80).get()), std::optional<int>(80));

        for (QSignalSpy* spy : spies)
            QCOMPARE(spy->count(), 0);
        qDeleteAll(spies);
    }

    void clickOnADraggableFieldIsADropOnItself()
    {
        Board board;
        QVERIFY(board.exposed);
        FieldWidget& field = board.field(1);
        field.setPicture(kv::PaletteIndex{2});
        field.setDraggable(true);
        QSignalSpy spy(&field, &FieldWidget::dropped);

        QCursor::setPos(field.mapToGlobal(QPoint(31, 31)));
        QTest::mouseClick(&field, Qt::LeftButton, Qt::NoModifier, QPoint(31, 31));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(args(spy, 0), (QList<int>{11, 11}));

        // A vacated field that is still draggable clicks the same way.
        field.setPicture(std::nullopt);
        QTest::mouseClick(&field, Qt::LeftButton, Qt::NoModifier, QPoint(31, 31));
        QCOMPARE(spy.count(), 2);
    }

    void dragEndingAwayFromItsFieldReportsNothingByItself()
    {
        Board board;
        QVERIFY(board.exposed);
        FieldWidget& field = board.field(0);
        field.setPicture(kv::PaletteIndex{0});
        field.setDraggable(true);
        QSignalSpy spy(&field, &FieldWidget::dropped);
        QCursor::setPos(board.window.mapToGlobal(QPoint(5, 5)));
        QTest::mousePress(&field, Qt::LeftButton, Qt::NoModifier, QPoint(31, 31));
        QTest::mouseRelease(&field, Qt::LeftButton, Qt::NoModifier, QPoint(31, 31));
        QCOMPARE(spy.count(), 0);
    }

    void notDraggableDisabledOrOtherButtonStartsNothing()
    {
        Board board;
        QVERIFY(board.exposed);
        FieldWidget& field = board.field(0);
        field.setPicture(kv::PaletteIndex{0});
        QSignalSpy spy(&field, &FieldWidget::dropped);
        QCursor::setPos(field.mapToGlobal(QPoint(31, 31)));

        QVERIFY(!field.isDraggable());
        QTest::mouseClick(&field, Qt::LeftButton, Qt::NoModifier, QPoint(31, 31));
        QCOMPARE(spy.count(), 0);

        field.setDraggable(true);
        QTest::mouseClick(&field, Qt::RightButton, Qt::NoModifier, QPoint(31, 31));
        QCOMPARE(spy.count(), 0);

        field.setEnabled(false);
        QTest::mouseClick(&field, Qt::LeftButton, Qt::NoModifier, QPoint(31, 31));
        QCOMPARE(spy.count(), 0);

        field.setEnabled(true);
        QTest::mouseClick(&field, Qt::LeftButton, Qt::NoModifier, QPoint(31, 31));
        QCOMPARE(spy.count(), 1);
    }
};

QTEST_MAIN(TestFieldWidget)
#include "test_field_widget.moc"
