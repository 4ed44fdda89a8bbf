#include "setup/platform/folders.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "setup/platform/files.h"
#include "setup/platform/path_text.h"

namespace setup {
namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

bool isFolderFollowingLinks(const char* path)
{
    struct stat info;
    return pathInfo(path, true, &info) && S_ISDIR(info.st_mode);
}

}  // namespace

PathKind pathKind(const char* path)
{
    struct stat info;
    if (!pathInfo(path, false, &info))
        return PathKind::Missing;
    return common::pathKindOfMode(info.st_mode);
}

bool createFolderWithParents(const char* path, mode_t mode)
{
    char partial[kPathSize];
    if (!copyText(partial, sizeof partial, path))
        return false;
    // Each "/" after the first character ends a parent; links above the
    // folder itself are fine (a temporary folder may well be one).
    for (char* cut = partial + 1; *cut != '\0'; ++cut) {
        if (*cut != '/')
            continue;
        *cut = '\0';
        if (!isFolderFollowingLinks(partial))
            mkdirat(AT_FDCWD, partial, 0777);
        *cut = '/';
    }
    if (mkdirat(AT_FDCWD, path, mode) == 0)
        return true;
    return isFolderFollowingLinks(path);
}

bool removeFolder(const char* path)
{
    return removeIn(AT_FDCWD, path, true);
}

int openFolder(const char* path)
{
    return openRetrying(AT_FDCWD, path, kFolderFlags, 0);
}

bool claimFolder(int folder)
{
    struct stat info;
    return fileInfo(folder, &info) && S_ISDIR(info.st_mode) && info.st_uid == geteuid() &&
           fchmod(folder, 0700) == 0;
}

bool namesFolder(const char* path, int folder)
{
    struct stat named, open;
    return pathInfo(path, false, &named) && fileInfo(folder, &open) && named.st_dev == open.st_dev &&
           named.st_ino == open.st_ino;
}

bool othersMayChangeParent(int folder)
{
    const int parent = openRetrying(folder, "..", kFolderFlags, 0);
    struct stat info;
    const bool known = parent >= 0 && fileInfo(parent, &info);
    if (parent >= 0)
        closeFile(parent);
    return !known || info.st_uid != 0 || ((info.st_mode & 022) != 0 && (info.st_mode & S_ISVTX) == 0);
}

int openFolderIn(int parent, const char* name, bool* created)
{
    if (created)
        *created = mkdirat(parent, name, 0700) == 0;
    return openRetrying(parent, name, kFolderFlags, 0);
}

int createFileIn(int folder, const char* name)
{
    return openRetrying(folder, name, O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
}

int openFileIn(int folder, const char* name)
{
    return openRetrying(folder, name, O_RDONLY | O_NOFOLLOW | O_CLOEXEC, 0);
}

bool removeIn(int folder, const char* name, bool isFolder)
{
    return unlinkat(folder, name, isFolder ? AT_REMOVEDIR : 0) == 0;
}

}  // namespace setup
