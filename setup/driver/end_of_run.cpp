#include "setup/driver/end_of_run.h"

#include "setup/driver/setup_run.h"
#include "setup/package/setup_ui.h"
#include "setup/platform/files.h"
#include "setup/platform/folders.h"

namespace setup {

int finishSetup(SetupRun& run, SetupUi& ui) {
  if (run.packageFd >= 0 && !closeFile(run.packageFd)) reportError(ui, "Kann Datei nicht schließen ..");
  run.packageFd = -1;
  if (run.joinedFile[0]) removeFile(run.joinedFile);
  // Files left by a failed extraction keep their folders.
  removeCreatedFolders(run.extraction);
  removeFolder(run.workFolder);
  releaseExtractionState(run.extraction);
  releasePackageSettings(run.settings);
  return 0;
}

}  // namespace setup
