#include "setup/package/work_folder.h"

#include <string.h>

#include "setup/package/setup_ui.h"
#include "setup/platform/folders.h"
#include "setup/platform/path_text.h"
#include "setup/platform/system_paths.h"

namespace setup {

bool chooseWorkFolder(char* out, size_t size) {
  char base[kPathSize];
  // The installer's command line cannot carry a blank in the path, and a
  // one-character base would be the root itself.
  if (!temporaryFolder(base, sizeof base) || strchr(base, ' ') || strlen(base) == 1)
    systemFolder(base, sizeof base);
  return copyText(out, size, base) && appendText(out, size, "$Pakorix.Tmp");
}

bool ensureWorkFolder(const char* workFolder, SetupUi& ui) {
  FolderOwnership state = folderOwnership(workFolder);
  if (state == FolderOwnership::Missing && createFolderWithParents(workFolder, 0700))
    state = folderOwnership(workFolder);
  // The folder sits in a place every user can write to: anything we did not
  // make ourselves could lead our files elsewhere.
  // One left behind by an earlier run may have been opened up since; others
  // must not be able to swap the folders inside it while we unpack.
  if (state == FolderOwnership::Own && restrictFolderToOwner(workFolder)) return true;
  reportFailure(ui, workFolder, "Error in directory ..");
  return false;
}

}  // namespace setup
