#include "setup/dialogs/run_setup.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

#include "setup/dialogs/main_window.h"
#include "setup/driver/setup_run.h"
#include "setup/driver/whole_run.h"

namespace setup {
namespace {

// The dialogs' family is not installed on this system: Qt takes the first
// of these sans families that is. One call per name costs the image less
// than building a list.
void substituteDialogFont()
{
    static const char* const kInstalledSans[] = {"Liberation Sans", "Nimbus Sans", "Arial", "DejaVu Sans",
                                                 "Sans Serif"};
    const QString family = QStringLiteral("MS Sans Serif");
    for (const char* sans : kInstalledSans)
        QFont::insertSubstitution(family, QString::fromUtf8(sans));
}

}  // namespace

int runSetup(const char* ownPath, int ownFile, const char* startedAs)
{
    // Boxes come and go before and after the main window; none of them ends
    // the program by closing.
    QApplication::setQuitOnLastWindowClosed(false);
    substituteDialogFont();
    QApplication::setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    // Qt's own texts (the edit fields' menus) in German, where the system has
    // Qt's translations.
    static QTranslator german;
    if (german.load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&german);
    // Large path buffers: kept off the stack of the event loops.
    static SetupRun run;
    MainWindow window(run);
    return runWholeSetup(run, ownPath, ownFile, startedAs, window);
}

}  // namespace setup
