#pragma once
// Folder creation and inspection.
#include <stddef.h>
#include <sys/types.h>

namespace setup {

// What a path names, without following a symbolic link at the path itself.
enum class PathKind { Missing, File, Folder, Other };
PathKind pathKind(const char* path);

// Missing: nothing there. Own: a real folder (not a link) owned by the
// effective user. Refused: anything else (link, file, someone else's folder).
enum class FolderOwnership { Missing, Own, Refused };
FolderOwnership folderOwnership(const char* path);

// Makes a folder of ours readable and writable by its owner alone, without
// following a link at the path itself.
bool restrictFolderToOwner(const char* path);

// One folder with `mode`; false if it could not be made (also when it exists).
bool createFolder(const char* path, mode_t mode);
// Creates the missing parents (default mode) and then `path` itself with
// `mode`; true when `path` is a folder afterwards.
bool createFolderWithParents(const char* path, mode_t mode);
// Removes an empty folder; false otherwise.
bool removeFolder(const char* path);

}  // namespace setup
