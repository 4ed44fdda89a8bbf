// The self-extracting setup: installs the package carried behind this program.
#include <QApplication>

#include "setup/dialogs/run_setup.h"
#include "setup/platform/path_text.h"
#include "setup/platform/system_paths.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  static char ownPath[setup::kPathSize];
  setup::ownExecutablePath(ownPath, sizeof ownPath);
  return setup::runSetup(ownPath);
}
