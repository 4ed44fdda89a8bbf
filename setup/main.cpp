// The self-extracting setup: installs the package carried behind this program.
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <QApplication>
#include <QResource>

#include "built_in_qt_conf.h"
#include "setup/dialogs/run_setup.h"
#include "setup/platform/files.h"
#include "setup/platform/path_text.h"
#include "setup/platform/system_paths.h"

namespace {

// How long the platform may take to reach the display.
constexpr unsigned kSecondsForTheDisplay = 8;

// Until Qt's platform is up: its messages are held back, and its qFatal that no platform could
// start, which would abort with English advice to reinstall, becomes one German line and exit
// code 1 before anything is unpacked. The line says whether no display answered (the platform
// said it could not connect to its display: xcb and Wayland name it so) or the platform itself
// failed (none found, or none that would load).
bool displayUnreachable;

[[noreturn]] void endWith(const char* line)
{
    if (write(STDERR_FILENO, line, strlen(line))) {
    }
    _exit(1);
}

const char kNoDisplay[] = "KARVELO-setup: Keine grafische Oberfläche erreicht: weder DISPLAY noch "
                          "WAYLAND_DISPLAY nennt eine Anzeige, die antwortet.\n";

void duringPlatformStart(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtFatalMsg) {
        displayUnreachable = displayUnreachable || message.contains(QLatin1String("display"));
        return;
    }
    endWith(displayUnreachable || (!getenv("DISPLAY") && !getenv("WAYLAND_DISPLAY"))
                ? kNoDisplay
                : "KARVELO-setup: Qts Plattform-Modul ließ sich nicht laden: es fehlt, ist "
                  "beschädigt oder wurde abgewiesen.\n");
}

// A compositor that takes the connection and never answers would keep the start waiting.
void displaySilent(int)
{
    endWith(kNoDisplay);
}

// Qt runs the pre-routines once the platform is up. The installer started later finds no
// plugin folder of ours.
void platformStarted()
{
    alarm(0);
    qInstallMessageHandler(nullptr);
    unsetenv("QT_PLUGIN_PATH");
}

// Qt would load plugins from the setup's own folder, wherever it was downloaded to, and from
// the folders the environment names, which sudo -E passes on to root. The plugin folder of Qt
// itself is all the setup needs. Qt adds the own folder and QT_PLUGIN_PATH once the
// application is made but replays what was taken away before: so the own folder, as the only
// one of QT_PLUGIN_PATH, goes into the list Qt knows now and is taken out again.
void trustOnlyQtsOwnPlugins(char* ownPath)
{
    // One after the other, each ended by its NUL: a table of pointers would cost the image more.
    static const char kModuleVariables[] =
        "QT_QPA_PLATFORM_PLUGIN_PATH\0GTK_MODULES\0GTK3_MODULES\0GTK_PATH\0GIO_EXTRA_MODULES\0"
        "GDK_PIXBUF_MODULE_FILE\0GDK_PIXBUF_MODULEDIR\0";
    // The folder's name is the path up to its last "/", put back afterwards.
    char* slash = strrchr(ownPath, '/');
    *slash = '\0';
    setenv("QT_PLUGIN_PATH", ownPath, 1);
    QCoreApplication::removeLibraryPath(QString::fromUtf8(ownPath));
    *slash = '/';
    for (const char* variable = kModuleVariables; *variable; variable += strlen(variable) + 1)
        unsetenv(variable);
}

}  // namespace

int main(int argc, char** argv)
{
    // Qt reads it in place of a qt.conf beside the program.
    QResource::registerResource(kBuiltInQtConf);
    static char ownPath[setup::kPathSize];
    // Without its full path the program cannot find its package; the name it
    // was started by is all there is to show.
    const bool known = setup::ownExecutablePath(ownPath, sizeof ownPath);
    static char root[] = "/";
    trustOnlyQtsOwnPlugins(known ? ownPath : root);
    qInstallMessageHandler(duringPlatformStart);
    qAddPreRoutine(platformStarted);
    signal(SIGALRM, displaySilent);
    alarm(kSecondsForTheDisplay);
    QApplication application(argc, argv);
    // The running file itself, whatever its path names by the time it is read.
    const int ownFile = setup::openExistingForReading("/proc/self/exe");
    return setup::runSetup(known ? ownPath : nullptr, ownFile, argc > 0 ? argv[0] : nullptr);
}
