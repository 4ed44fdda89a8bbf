// The table window on a private Xvfb with the installed fonts, read from a capture of the whole
// screen: every date cell shows its whole date.
#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QLineEdit>
#include <QTest>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>

#include "game/highscore/date_text.h"
#include "game/ui/highscore/highscore_table_window.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/window_look.h"
#include "tests/support/x_server.h"

namespace kv {
namespace {

using x11test::XwdImage;

// Black text on the rows' white and yellow, which all have full red.
bool isInk(const XwdImage& screen, int x, int y)
{
    return screen.at(x, y).r < 128;
}

// The leftmost and rightmost column with ink inside `cell`, or nothing.
std::optional<std::pair<int, int>> inkColumns(const XwdImage& screen, const QRect& cell)
{
    std::optional<std::pair<int, int>> ink;
    for (int x = cell.left(); x <= cell.right(); ++x) {
        for (int y = cell.top(); y <= cell.bottom(); ++y) {
            if (!isInk(screen, x, y))
                continue;
            ink = {ink ? ink->first : x, x};
            break;
        }
    }
    return ink;
}

// How wide the ink of `text` is when drawn alone in `font`, by the same rasteriser.
int inkWidth(const QString& text, const QFont& font)
{
    const QFontMetrics metrics(font);
    QImage image(metrics.horizontalAdvance(text) + 20, metrics.height() + 10, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(10, 5 + metrics.ascent(), text);
    painter.end();
    int first = image.width();
    int last = -1;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (image.pixelColor(x, y).red() >= 128)
                continue;
            first = std::min(first, x);
            last = x;
            break;
        }
    }
    return last - first + 1;
}

}  // namespace

class TestHighscoreTableWindowOnX11 : public QObject {
    Q_OBJECT

public:
    explicit TestHighscoreTableWindowOnX11(const x11test::XvfbServer& server) : server_(server) {}

private slots:
    void everyDateCellShowsAllSeventeenCharacters()
    {
        // The shipped date, the widest digits, and dates as other settings write them.
        const QStringList dates{
            QStringLiteral("12.06.99 16:02:47"), QStringLiteral("28.08.88 20:58:58"),
            QStringLiteral("06/12/99 16:02:47"), QStringLiteral("31-12-24 23:59:58"),
            QStringLiteral("00.00.00 00:00:00"), QString::fromStdString(currentDateText())};
        HighscoreTable table;
        for (int row = 0; row < dates.size(); ++row) {
            table[static_cast<std::size_t>(row)].points = static_cast<std::int16_t>(100 - row);
            table[static_cast<std::size_t>(row)].date = dates[row].toStdString();
        }
        HighscoreTableWindow window;
        window.fillRows(table);
        window.showTable();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QRect onScreen(window.mapToGlobal(QPoint(0, 0)), window.size());

        XwdImage screen;
        const x11test::WindowGeometry geometry{onScreen.x(), onScreen.y(), onScreen.width(),
                                               onScreen.height()};
        const auto shown = [&] {
            screen = server_.screenshot();
            return x11test::lookOfFramedWindow(screen, geometry, {128, 255, 128}, {}).empty();
        };
        QVERIFY2(QTest::qWaitFor(shown, 10000), "the table window never appeared on the screen");
        for (int row = 0; row < dates.size(); ++row) {
            const auto* cell = window.findChild<QLineEdit*>(QStringLiteral("dateCell%1").arg(row));
            QVERIFY(cell);
            QCOMPARE(cell->text(), dates[row]);
            const QRect area = cell->geometry().translated(onScreen.topLeft());
            const auto ink = inkColumns(screen, area);
            QVERIFY2(ink, qPrintable(QStringLiteral("row %1 shows no date").arg(row)));
            // Cut text would start at the left margin and run into the right edge, narrower than
            // the whole date; the whole date stands centred.
            const int drawn = ink->second - ink->first + 1;
            const int whole = inkWidth(dates[row], cell->font());
            const int left = ink->first - area.left();
            const int right = area.right() - ink->second;
            const QString where =
                QStringLiteral("row %1 \"%2\": %3 px of ink for %4 px of text, %5 px free on the "
                               "left, %6 on the right")
                    .arg(row)
                    .arg(dates[row])
                    .arg(drawn)
                    .arg(whole)
                    .arg(left)
                    .arg(right);
            QVERIFY2(std::abs(drawn - whole) <= 1, qPrintable(where));
            QVERIFY2(left > 0 && right > 0 && std::abs(left - right) <= 2, qPrintable(where));
        }
    }

private:
    const x11test::XvfbServer& server_;
};

}  // namespace kv

int main(int argc, char* argv[])
{
    // The server must be up before the application connects to it.
    const kv::test::ScratchFolder folder("kv_highscore_table_x11");
    const kv::x11test::XvfbServer server(folder.path());
    setenv("XDG_RUNTIME_DIR", folder.path().c_str(), 1);
    QApplication application(argc, argv);
    kv::TestHighscoreTableWindowOnX11 test(server);
    return QTest::qExec(&test, argc, argv);
}

#include "test_highscore_table_window_x11.moc"
