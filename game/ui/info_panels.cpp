#include "game/ui/info_panels.h"

#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextEdit>

#include <algorithm>
#include <cmath>

#include "game/ui/main_window_colours.h"
#include "game/ui/main_window_controls.h"

namespace kv {
namespace {

const QString kIndent(6, u' ');
const QString kBlankLine(32, u' ');

QString blanks(int count)
{
    return QString(count, u' ');
}

constexpr qreal kSmallestPointSize = 6.0;

// Whether the laid-out text needs no scrolling in either direction.
bool textFits(const QTextEdit& panel, const QSize& box)
{
    const QSizeF text = panel.document()->size();
    return text.width() <= box.width() && text.height() <= box.height();
}

void setPointSize(QTextEdit* panel, qreal points)
{
    QFont font = panel->font();
    font.setPointSizeF(points);
    panel->setFont(font);
}

// Lowers the panel's font until its text, laid out as it will be drawn, fits the area inside
// its frame. A font's line spacing alone is not enough: the laid-out lines may be taller, and
// then the last lines were out of sight. Every size tried lays the whole text out again, so the
// first try is a proportional guess from the first layout.
void fitTextToPanel(QTextEdit* panel)
{
    const QSize box = panel->contentsRect().size();
    const qreal designed = panel->font().pointSizeF();
    if (textFits(*panel, box))
        return;
    const QSizeF text = panel->document()->size();
    const qreal scale = std::min(box.width() / text.width(), box.height() / text.height());
    qreal points = std::max(std::floor(designed * scale * 2) / 2, kSmallestPointSize);
    setPointSize(panel, points);
    // Margins and hinting do not shrink with the font: a guess may be a half point off.
    if (textFits(*panel, box) && points + 0.5 <= designed) {
        setPointSize(panel, points + 0.5);
        if (textFits(*panel, box))
            return;
        setPointSize(panel, points);
        return;
    }
    while (!textFits(*panel, box) && points - 0.5 >= kSmallestPointSize) {
        points -= 0.5;
        setPointSize(panel, points);
    }
}

QTextEdit* makePanel(QWidget* window, const char* name, const QRect& place, const QColor& background,
                     const QStringList& lines)
{
    auto* panel = new QTextEdit(window);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setGeometry(place);
    panel->setReadOnly(true);
    // Display only, and the whole text is in sight: a scroll bar would only cover text.
    panel->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    panel->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    panel->setFont(QFont(QString::fromLatin1(kWindowFontFamily), 12));
    // Every line of the text is one line on screen, never broken.
    panel->setLineWrapMode(QTextEdit::NoWrap);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Base, background);
    palette.setColor(QPalette::Text, Qt::black);
    panel->setPalette(palette);
    panel->setPlainText(lines.join(u'\n') + u'\n');
    fitTextToPanel(panel);
    panel->hide();
    return panel;
}

}  // namespace

QStringList rulesLines()
{
    return {
        kBlankLine,
        kIndent + QStringLiteral("Es geht darum, eine möglichst hohe Punktezahl zu erreichen."),
        kIndent +
            QStringLiteral("Punkte werden erzielt durch Verschieben (Drag&Drop) von Feldern, um Strei-"),
        QStringLiteral("fen oder Quadrate mit gleichfarbigen Feldern zu bilden. Verschiebbar sind nur"),
        QStringLiteral("gefüllte Felder. Es darf beliebig über andere Felder hinweg verschoben werden."),
        QStringLiteral("Die Streifen bestehen aus fünf Feldern, die horizontal, vertikal oder diagonal ver-"),
        QStringLiteral("laufen. Die Quadrate bestehen aus drei mal drei Feldern."),
        kIndent + QStringLiteral("Es werden am Spielanfang und nach jedem Spielzug, der nicht zum Löschen"),
        QStringLiteral("eines Streifens oder Quadrats führt, drei Felder gefüllt."),
        kIndent +
            QStringLiteral("Wird ein Streifen oder Quadrat erzielt, löst er oder es sich auf, und dem Spie-"),
        QStringLiteral("ler werden vier beziehungsweise siebzehn Punkte angerechnet."),
        kIndent + QStringLiteral("Das Spiel endet, wenn keine Felder mehr frei sind."),
        kIndent + QStringLiteral("Nach Bildung und Auflösung eines Quadrats werden dem Spieler nicht nur"),
        QStringLiteral("siebzehn Punkte gutgeschrieben: Als weitere Belohnung werden alle Felder einer"),
        QStringLiteral("(zufällig) bestimmten Farbe blitzartig gelöscht."),
        kIndent +
            QStringLiteral("Ueberdies erfolgt zwischendurch gelegentlich und rein zufällig (unabhängig"),
        QStringLiteral("vom Erreichen von Streifen oder Quadraten) die Auflösung aller Felder einer"),
        QStringLiteral("Farbe blitzartig."),
        kIndent + QStringLiteral("Ab und zu werden umgekehrt Felder schwarz-grau und unheilbar besetzt."),
        kIndent +
            QStringLiteral("Die vielfarbigen Felder können als beliebige Farbfelder verwendet werden - es"),
        QStringLiteral("sind Joker."),
        kBlankLine,
        kIndent +
            QStringLiteral("Das Bäumchen auf der rechten Seite hat direkt nichts mit dem Spiel zu tun."),
        QStringLiteral("Es wächst bei jedem Erzielen und Erlöschen eines Streifens oder Quadrats ganz"),
        QStringLiteral("von neuem, und zwar jedesmal als noch nie dagewesenes Bäumchen. Kein Spie-"),
        QStringLiteral("ler wird zweimal dasselbe Bäumchen sehen, weil es unendlich viele davon gibt..."),
        kBlankLine,
        kIndent + QStringLiteral("Viel Vergnügen!"),
    };
}

QStringList informationLines()
{
    QStringList lines{blanks(20),
                      blanks(20),
                      blanks(20),
                      blanks(20),
                      QStringLiteral("KARVELO"),
                      QStringLiteral("Version 1.01"),
                      QStringLiteral("8.99"),
                      QStringLiteral("Idee und Programm: das KARVELO-Team"),
                      QStringLiteral("kontakt@karvelo.example"),
                      blanks(20),
                      QStringLiteral("Brettspiel")};
    // Eleven lines of blanks of various lengths hold the credits at the foot of the panel.
    for (const int length : {12, 24, 8, 30, 16, 20, 6, 28, 10, 22, 14})
        lines << blanks(length);
    lines << QStringLiteral("Dank an alle Testspielerinnen und Testspieler")
          << QStringLiteral("für viele Runden und manchen guten Rat,")
          << QStringLiteral("und an das KARVELO-Team für Klänge und Bilder.");
    return lines;
}

QTextEdit* makeRulesPanel(QWidget* window)
{
    return makePanel(window, "rulesPanel", QRect(31, 13, 577, 574), Qt::white, rulesLines());
}

QTextEdit* makeInformationPanel(QWidget* window)
{
    QTextEdit* panel = makePanel(window, "informationPanel", QRect(35, 15, 570, 570),
                                 colours::kInformationBackground, informationLines());
    QTextCursor everything(panel->document());
    everything.select(QTextCursor::Document);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    everything.mergeBlockFormat(centred);
    return panel;
}

void togglePanel(QWidget* panel, QWidget* other)
{
    other->hide();
    panel->setVisible(panel->isHidden());
}

}  // namespace kv
