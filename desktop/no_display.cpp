#include "desktop/no_display.h"

#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QtGlobal>
#include <cstdio>
#include <cstring>
#include <string>

namespace kv {
namespace {

// How long the platform may take to reach the display.
constexpr unsigned kSecondsForTheDisplay = 8;

const char* program = "";
QtMessageHandler previousHandler = nullptr;
// Whether the platform said it reached no display, and which plugin the loader last named.
bool displayUnreachable = false;
std::string platform;

void sayNoDisplay()
{
    std::fprintf(stderr,
                 "%s: Keine grafische Oberfläche erreicht: weder DISPLAY noch WAYLAND_DISPLAY "
                 "nennt eine Anzeige, die antwortet.\n",
                 program);
}

// Qt reports that no platform plugin could start with qFatal, which aborts once the handler
// returns. The messages before it are held back: in a failed start they are Qt's English
// account of the same failure, in a good one only its notes on the session. A platform that
// could not connect says so naming its display (xcb and Wayland both do); otherwise no plugin
// was found or none would load, and the loader names the one it tried.
void duringPlatformStart(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtFatalMsg) {
        displayUnreachable = displayUnreachable || message.contains(QLatin1String("display"));
        const QString named = message.section(u'"', 1, 1);
        if (!named.isEmpty())
            platform = named.toStdString();
        return;
    }
    if (displayUnreachable ||
        (!qEnvironmentVariableIsSet("DISPLAY") && !qEnvironmentVariableIsSet("WAYLAND_DISPLAY")))
        sayNoDisplay();
    else
        std::fprintf(stderr,
                     "%s: Qts Plattform-Modul „%s“ ließ sich nicht laden: es fehlt, ist beschädigt "
                     "oder wurde abgewiesen.\n",
                     program, platform.c_str());
    // Nothing of the half-made application is torn down, and nothing is written.
    _exit(1);
}

// A compositor that takes the connection and never answers would keep the start waiting.
void displaySilent(int)
{
    static const char kEnd[] = ": Keine grafische Oberfläche erreicht: weder DISPLAY noch "
                               "WAYLAND_DISPLAY nennt eine Anzeige, die antwortet.\n";
    // Only what may be called in a signal handler.
    if (write(STDERR_FILENO, program, std::strlen(program)) < 0 ||
        write(STDERR_FILENO, kEnd, sizeof kEnd - 1) < 0) {
    }
    _exit(1);
}

// Qt runs the pre-routines once the platform is up.
void platformStarted()
{
    alarm(0);
    qInstallMessageHandler(previousHandler);
}

}  // namespace

void endQuietlyWithoutDisplay(const char* programName)
{
    program = programName;
    previousHandler = qInstallMessageHandler(duringPlatformStart);
    qAddPreRoutine(platformStarted);
    signal(SIGALRM, displaySilent);
    alarm(kSecondsForTheDisplay);
}

}  // namespace kv
