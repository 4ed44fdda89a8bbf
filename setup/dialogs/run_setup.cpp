#include "setup/dialogs/run_setup.h"

#include <QApplication>
#include <QFont>

#include "setup/dialogs/main_window.h"
#include "setup/driver/end_of_run.h"
#include "setup/driver/setup_run.h"
#include "setup/driver/start_up.h"

namespace setup {

int runSetup(const char* ownPath) {
  // Boxes come and go before and after the main window; none of them ends
  // the program by closing.
  QApplication::setQuitOnLastWindowClosed(false);
  QApplication::setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
  // Large path buffers: kept off the stack of the event loops.
  static SetupRun run;
  initSetupRun(run);
  MainWindow window(run);
  if (prepareSetup(run, ownPath, window)) window.show();
  return finishSetup(run, window);
}

}  // namespace setup
