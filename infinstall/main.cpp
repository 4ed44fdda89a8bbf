// infinstall: runs a section of an INF file, in place of the INF installers a setup calls.
#include <unistd.h>

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>
#include <cstdlib>
#include <iostream>

#include "core/installer_run.h"
#include "core/runtime_check.h"
#include "dialogs/no_display.h"
#include "dialogs/qt_installer_ui.h"

int main(int argc, char** argv)
{
    using namespace infinstall;
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    const std::optional<Invocation> call = parseInvocation(args, error);
    // A section with nothing in it, such as the one a setup runs after the installation, needs
    // no window and no display.
    if (call && sectionIsEmpty(*call)) return kDone;
    if (!call) {
        std::cerr << error << std::endl;
        // Without a display the message above is all there is to say.
        if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) return kFailed;
    }

    endQuietlyWithoutDisplay("infinstall");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("infinstall"));
    // Qt's own dialogs (the folder chooser) in the desktop's language, where Qt ships it.
    QTranslator translator;
    if (translator.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&translator);

    QtInstallerUi ui;
    if (!call) {
        ui.tell("infinstall", error, true);
        return kFailed;
    }
    std::string placesError;
    const std::optional<Places> places = placesFor(
        geteuid() == 0, [](const char* name) { return std::getenv(name); }, placesError);
    if (!places) {
        ui.tell("infinstall", placesError, true);
        return kFailed;
    }
    PosixFileSystem files;
    RunContext context{*places, files, ui, loadLibrary};
    return runInstaller(*call, context);
}
