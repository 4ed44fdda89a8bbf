#include "setup/package/work_folder.h"

#include <string.h>
#include <unistd.h>

#include "setup/package/setup_ui.h"
#include "setup/platform/files.h"
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

bool ensureWorkFolder(const char* workFolder, int& fd, SetupUi& ui) {
  if (fd >= 0) return true;
  createFolderWithParents(workFolder, 0700);
  // The folder sits in a place other users may write to: anything we did
  // not make ourselves could lead our files elsewhere, and its name may be
  // given to another folder at any moment. What is checked is the folder
  // held open, and everything below it is reached through that descriptor.
  // One left behind by an earlier run may have been opened up since; others
  // must not be able to change the folders inside it while we unpack.
  const int opened = openFolder(workFolder);
  // Root hands the folder's path to the installer: a parent others may change
  // could give that path to a folder of theirs.
  if (opened >= 0 && claimFolder(opened)) {
    if (geteuid() != 0 || !othersMayChangeParent(opened)) {
      fd = opened;
      return true;
    }
    // Ours, and empty unless an earlier run left something: not left behind.
    if (namesFolder(workFolder, opened)) removeFolder(workFolder);
  }
  if (opened >= 0) closeFile(opened);
  reportFailure(ui, workFolder, "Error in directory ..");
  return false;
}

}  // namespace setup
