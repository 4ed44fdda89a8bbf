#include "setup/platform/folders.h"

#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include "setup/platform/path_text.h"

namespace setup {

PathKind pathKind(const char* path) {
  struct stat info;
  if (lstat(path, &info) != 0) return PathKind::Missing;
  if (S_ISREG(info.st_mode)) return PathKind::File;
  if (S_ISDIR(info.st_mode)) return PathKind::Folder;
  return PathKind::Other;
}

FolderOwnership folderOwnership(const char* path) {
  struct stat info;
  if (lstat(path, &info) != 0)
    return errno == ENOENT ? FolderOwnership::Missing : FolderOwnership::Refused;
  if (!S_ISDIR(info.st_mode) || info.st_uid != geteuid()) return FolderOwnership::Refused;
  return FolderOwnership::Own;
}

bool restrictFolderToOwner(const char* path) {
  const int fd = open(path, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return false;
  const bool done = fchmod(fd, 0700) == 0;
  close(fd);
  return done;
}

bool createFolder(const char* path, mode_t mode) { return mkdir(path, mode) == 0; }

static bool isFolderFollowingLinks(const char* path) {
  struct stat info;
  return stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

bool createFolderWithParents(const char* path, mode_t mode) {
  char partial[kPathSize];
  if (!copyText(partial, sizeof partial, path)) return false;
  // Each "/" after the first character ends a parent; links above the
  // folder itself are fine (a temporary folder may well be one).
  for (char* cut = partial + 1; *cut != '\0'; ++cut) {
    if (*cut != '/') continue;
    *cut = '\0';
    if (!isFolderFollowingLinks(partial)) mkdir(partial, 0777);
    *cut = '/';
  }
  if (mkdir(path, mode) == 0) return true;
  return isFolderFollowingLinks(path);
}

bool removeFolder(const char* path) { return rmdir(path) == 0; }

}  // namespace setup
