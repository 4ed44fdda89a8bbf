// kv5: the board game. It reads P1.dat and sounds/ from the folder it is started in.
#include <QAccessible>
#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "game/ui/desktop_identity.h"
#include "game/ui/main_window.h"
#include "desktop/no_display.h"
#include "desktop/trusted_qt_sources.h"
#include "game/ui/widgets/board_accessible.h"

int main(int argc, char* argv[])
{
    kv::trustOnlyQtSourcesOthersCannotChange();
    kv::endQuietlyWithoutDisplay("kv5");
    QApplication application(argc, argv);
    kv::identifyToDesktop();
    // Qt's own texts (the name box's context menu) in German, like every text of the game.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
    QAccessible::installFactory(kv::boardAccessible);
    // The windows ask for the classic dialog family by name; draw it with an installed sans,
    // narrow ones first, as their widths come closest.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans"),
                                QStringLiteral("Arial"), QStringLiteral("DejaVu Sans"),
                                QStringLiteral("Sans Serif")});
    kv::MainWindow window;
    window.show();
    return application.exec();
}
