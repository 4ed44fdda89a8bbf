#include "setup/driver/closing.h"

#include "setup/driver/setup_run.h"
#include "setup/driver/setup_window.h"

namespace setup {

void deleteFilesAndClose(SetupRun& run, SetupWindow& window)
{
    deleteExtractedFiles(run.extraction, run.workFolder, window);
    window.closeWindow(2);
}

}  // namespace setup
