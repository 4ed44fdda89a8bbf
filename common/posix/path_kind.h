#pragma once
// What a path names, as the programs that install files tell it apart.
#include <sys/stat.h>

namespace common {

// Other: a symbolic link (where it is not followed), a device, a socket, ...
enum class PathKind { Missing, File, Folder, Other };

// The kind of what `mode` (from stat) describes.
inline PathKind pathKindOfMode(mode_t mode)
{
    if (S_ISREG(mode))
        return PathKind::File;
    if (S_ISDIR(mode))
        return PathKind::Folder;
    return PathKind::Other;
}

}  // namespace common
