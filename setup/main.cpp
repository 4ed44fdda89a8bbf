// The self-extracting setup: installs the package carried behind this program.
#include <stdlib.h>
#include <string.h>
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

// Qt runs the pre-routines once the platform is up. The installer started later finds no
// plugin folder of ours.
void platformStarted() {
  qInstallMessageHandler(nullptr);
  unsetenv("QT_PLUGIN_PATH");
}

// Qt would load plugins from the setup's own folder, wherever it was downloaded to, and from
// the folders the environment names, which sudo -E passes on to root. The plugin folder of Qt
// itself is all the setup needs. Qt adds the own folder and QT_PLUGIN_PATH once the
// application is made but replays what was taken away before: so the own folder, as the only
// one of QT_PLUGIN_PATH, goes into the list Qt knows now and is taken out again. Qt's qt.conf
// is the one built into the program.
void trustOnlyQtsOwnPlugins(const char* ownPath) {
  static const char* const kModuleVariables[] = {
      "QT_QPA_PLATFORM_PLUGIN_PATH", "GTK_MODULES", "GTK3_MODULES", "GTK_PATH",
      "GIO_EXTRA_MODULES", "GDK_PIXBUF_MODULE_FILE", "GDK_PIXBUF_MODULEDIR"};
  static char ownFolder[setup::kPathSize];
  setup::copyText(ownFolder, sizeof ownFolder, ownPath);
  if (char* slash = strrchr(ownFolder, '/')) *slash = '\0';
  setenv("QT_PLUGIN_PATH", ownFolder, 1);
  QCoreApplication::removeLibraryPath(QString::fromUtf8(ownFolder));
  for (const char* variable : kModuleVariables) unsetenv(variable);
}

}  // namespace

int main(int argc, char** argv) {
  static char ownPath[setup::kPathSize];
  // Without its full path the program cannot find its package; the name it
  // was started by is all there is to show.
  const bool known = setup::ownExecutablePath(ownPath, sizeof ownPath);
  trustOnlyQtsOwnPlugins(known ? ownPath : "/");
  qInstallMessageHandler(duringPlatformStart);
  qAddPreRoutine(platformStarted);
  QApplication application(argc, argv);
  // The running file itself, whatever its path names by the time it is read.
  const int ownFile = setup::openExistingForReading("/proc/self/exe");
  return setup::runSetup(known ? ownPath : nullptr, ownFile, argc > 0 ? argv[0] : nullptr);
}
