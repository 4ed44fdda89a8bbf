#include "setup/archive/entry_paths.h"

#include <string.h>

#include "setup/archive/path_list.h"
#include "setup/platform/files.h"
#include "setup/platform/folders.h"
#include "setup/platform/path_text.h"

namespace setup {

bool normaliseEntryName(char* name)
{
    for (char* c = name; *c != '\0'; ++c)
        if (*c == '\\')
            *c = '/';
    if (name[0] == '\0' || name[0] == '/')
        return false;
    for (const char* part = name; *part != '\0';) {
        const char* slash = strchr(part, '/');
        const size_t length = slash ? static_cast<size_t>(slash - part) : strlen(part);
        if (length == 2 && part[0] == '.' && part[1] == '.')
            return false;
        part += length + (slash ? 1 : 0);
    }
    return true;
}

int openEntryFolder(int workFolder, const char* name, PathList* created)
{
    char path[kPathSize];
    if (!copyText(path, sizeof path, name))
        return -1;
    int folder = workFolder;
    for (char* part = path;;) {
        char* slash = strchr(part, '/');
        if (!slash)
            return folder;
        if (slash != part) {  // an empty component ("a//b") names nothing new
            *slash = '\0';
            bool made = false;
            int next = openFolderIn(folder, part, created ? &made : nullptr);
            // Listed by its path below the work folder: `path` up to here.
            if (next >= 0 && made && !appendPath(*created, path)) {
                closeFile(next);
                next = -1;
            }
            *slash = '/';
            if (folder != workFolder)
                closeFile(folder);
            if (next < 0)
                return -1;
            folder = next;
        }
        part = slash + 1;
    }
}

bool removeBelow(int workFolder, const char* relative, bool isFolder)
{
    const int folder = openEntryFolder(workFolder, relative, nullptr);
    if (folder < 0)
        return false;
    const char* lastSlash = strrchr(relative, '/');
    const bool removed = removeIn(folder, lastSlash ? lastSlash + 1 : relative, isFolder);
    if (folder != workFolder)
        closeFile(folder);
    return removed;
}

}  // namespace setup
