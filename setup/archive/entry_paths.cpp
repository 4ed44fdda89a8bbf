#include "setup/archive/entry_paths.h"

#include <string.h>

#include "setup/archive/path_list.h"
#include "setup/platform/folders.h"
#include "setup/platform/path_text.h"

namespace setup {

bool normaliseEntryName(char* name) {
  for (char* c = name; *c != '\0'; ++c)
    if (*c == '\\') *c = '/';
  if (name[0] == '\0' || name[0] == '/') return false;
  for (const char* part = name; *part != '\0';) {
    const char* slash = strchr(part, '/');
    const size_t length = slash ? static_cast<size_t>(slash - part) : strlen(part);
    if (length == 2 && part[0] == '.' && part[1] == '.') return false;
    part += length + (slash ? 1 : 0);
  }
  return true;
}

bool createEntryFolders(const char* workFolder, const char* name, PathList& created,
                        char* folder, size_t size) {
  const char* lastSlash = strrchr(name, '/');
  if (!copyText(folder, size, workFolder)) return false;
  if (!lastSlash) return true;
  const size_t base = strlen(folder);
  // The whole folder part first, so a failure can report it.
  if (!appendText(folder, size, "/") || base + 1 + static_cast<size_t>(lastSlash - name) >= size)
    return false;
  memcpy(folder + base + 1, name, static_cast<size_t>(lastSlash - name));
  folder[base + 1 + (lastSlash - name)] = '\0';

  // Walk it one component at a time. Links are not followed, so nothing
  // lands outside the work folder.
  for (char* cut = folder + base + 1;; ++cut) {
    const bool atEnd = *cut == '\0';
    if (!atEnd && *cut != '/') continue;
    if (cut[-1] != '/') {  // an empty component ("a//b") names nothing new
      *cut = '\0';
      const PathKind kind = pathKind(folder);
      bool good = kind == PathKind::Folder;
      if (kind == PathKind::Missing)
        good = createFolder(folder, 0777) && appendPath(created, folder);
      if (!atEnd) *cut = '/';
      if (!good) return false;
    }
    if (atEnd) return true;
  }
}

}  // namespace setup
