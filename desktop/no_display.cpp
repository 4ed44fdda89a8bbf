#include "desktop/no_display.h"

#include <QCoreApplication>
#include <QtGlobal>
#include <cstdio>
#include <unistd.h>

namespace kv {
namespace {

const char* program = "";
QtMessageHandler previousHandler = nullptr;

// Qt reports that no platform plugin could start with qFatal, which aborts once the handler
// returns. The messages before it are held back: in a failed start they are Qt's English
// account of the same failure, in a good one only its notes on the session.
void duringPlatformStart(QtMsgType type, const QMessageLogContext&, const QString&)
{
    if (type != QtFatalMsg)
        return;
    std::fprintf(stderr,
                 "%s: Keine grafische Oberfläche erreicht: weder DISPLAY noch WAYLAND_DISPLAY "
                 "nennt eine Anzeige, die antwortet.\n",
                 program);
    // Nothing of the half-made application is torn down, and nothing is written.
    _exit(1);
}

// Qt runs the pre-routines once the platform is up.
void platformStarted()
{
    qInstallMessageHandler(previousHandler);
}

}  // namespace

void endQuietlyWithoutDisplay(const char* programName)
{
    program = programName;
    previousHandler = qInstallMessageHandler(duringPlatformStart);
    qAddPreRoutine(platformStarted);
}

}  // namespace kv
