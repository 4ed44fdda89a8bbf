#include "desktop/trusted_folder.h"

#include <sys/stat.h>

#include <climits>
#include <cstdlib>

namespace kv {

bool onlyTrustedCanChange(const std::string& folder, uid_t user)
{
    char resolved[PATH_MAX];
    if (folder.empty() || !realpath(folder.c_str(), resolved))
        return false;
    const std::string path = resolved;
    // "/" first, then each folder below it down to the one asked about.
    for (size_t end = 1;; end = path.find('/', end + 1)) {
        const bool last = end == std::string::npos;
        struct stat info;
        if (lstat(last ? path.c_str() : path.substr(0, end).c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
            return false;
        if (info.st_uid != 0 && info.st_uid != user)
            return false;
        const bool othersMayWrite = (info.st_mode & (S_IWGRP | S_IWOTH)) != 0;
        // Anyone may add a file to a sticky folder, so only a folder on the way may be one.
        if (othersMayWrite && (last || (info.st_mode & S_ISVTX) == 0))
            return false;
        if (last)
            return true;
    }
}

}  // namespace kv
