// The self-extracting setup: installs the package carried behind this program.
#include <unistd.h>

#include <QApplication>

#include "setup/dialogs/run_setup.h"
#include "setup/platform/files.h"
#include "setup/platform/path_text.h"
#include "setup/platform/system_paths.h"

namespace {

// Until Qt's platform is up: its messages are held back, and its qFatal that no platform could
// start, which would abort with English advice to reinstall, becomes one German line and exit
// code 1 before anything is unpacked.
void duringPlatformStart(QtMsgType type, const QMessageLogContext&, const QString&) {
  static const char kNoDisplay[] =
      "KARVELO-setup: Keine grafische Oberfläche erreicht: weder DISPLAY noch "
      "WAYLAND_DISPLAY nennt eine Anzeige, die antwortet.\n";
  if (type != QtFatalMsg) return;
  if (write(STDERR_FILENO, kNoDisplay, sizeof kNoDisplay - 1)) {}
  _exit(1);
}

// Qt runs the pre-routines once the platform is up.
void platformStarted() { qInstallMessageHandler(nullptr); }

}  // namespace

int main(int argc, char** argv) {
  qInstallMessageHandler(duringPlatformStart);
  qAddPreRoutine(platformStarted);
  QApplication application(argc, argv);
  static char ownPath[setup::kPathSize];
  // Without its full path the program cannot find its package; the name it
  // was started by is all there is to show.
  const bool known = setup::ownExecutablePath(ownPath, sizeof ownPath);
  // The running file itself, whatever its path names by the time it is read.
  const int ownFile = setup::openExistingForReading("/proc/self/exe");
  return setup::runSetup(known ? ownPath : nullptr, ownFile, argc > 0 ? argv[0] : nullptr);
}
