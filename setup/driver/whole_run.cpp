#include "setup/driver/whole_run.h"

#include "setup/driver/end_of_run.h"
#include "setup/driver/setup_run.h"
#include "setup/driver/setup_window.h"
#include "setup/driver/start_up.h"

namespace setup {

int runWholeSetup(SetupRun& run, const char* ownPath, int ownFile, const char* startedAs, SetupWindow& window)
{
    initSetupRun(run);
    if (!ownPath) {
        // Closed with the rest of the run.
        run.packageFd = ownFile;
        reportFailure(window, startedAs && startedAs[0] ? startedAs : "setup", "Kann Datei nicht öffnen ..");
    } else if (prepareSetup(run, ownPath, ownFile, window)) {
        window.showMainWindow();
    }
    return finishSetup(run, window);
}

}  // namespace setup
