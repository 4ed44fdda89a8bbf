// The self-extracting setup: installs the package carried behind this program.
#include <QApplication>

#include "setup/dialogs/run_setup.h"
#include "setup/platform/files.h"
#include "setup/platform/path_text.h"
#include "setup/platform/system_paths.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  static char ownPath[setup::kPathSize];
  // Without its full path the program cannot find its package; the name it
  // was started by is all there is to show.
  const bool known = setup::ownExecutablePath(ownPath, sizeof ownPath);
  // The running file itself, whatever its path names by the time it is read.
  const int ownFile = setup::openExistingForReading("/proc/self/exe");
  return setup::runSetup(known ? ownPath : nullptr, ownFile, argc > 0 ? argv[0] : nullptr);
}
