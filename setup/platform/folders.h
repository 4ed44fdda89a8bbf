#pragma once
// Folders: the work folder by its path, everything below it through its
// descriptor, so that a link swapped in for a path never leads elsewhere.
#include <stddef.h>
#include <sys/types.h>

#include "common/posix/path_kind.h"

namespace setup {

using common::PathKind;
// What a path names, without following a symbolic link at the path itself.
PathKind pathKind(const char* path);

// Creates the missing parents (default mode) and then `path` itself with
// `mode`; true when `path` is a folder afterwards.
bool createFolderWithParents(const char* path, mode_t mode);
// Removes an empty folder; false otherwise.
bool removeFolder(const char* path);

// `path` opened as a folder, never through a link at the path itself; -1.
int openFolder(const char* path);
// True when the open folder belongs to the effective user; it is then made
// readable and writable by its owner alone.
bool claimFolder(int folder);
// True when `path` (a link at it not followed) still names the open `folder`.
bool namesFolder(const char* path, int folder);

// True when a user other than root may rename or replace what the folder
// holding the open `folder` contains (it is not root's, or others may write
// to it and it is not sticky), or when that cannot be told.
bool othersMayChangeParent(int folder);

// The folder `name` inside the open `parent`, never through a link; with
// `created` non-null a missing one is made first (private to its owner, as
// the work folder is) and *created tells whether that happened. -1 on failure.
int openFolderIn(int parent, const char* name, bool* created);
// Creates or truncates the file `name` inside `folder` for writing, never
// through a link; -1 on failure.
int createFileIn(int folder, const char* name);
// The file `name` inside `folder` for reading, never through a link; -1.
int openFileIn(int folder, const char* name);
// Removes the file, or with `isFolder` the empty folder, `name` inside `folder`.
bool removeIn(int folder, const char* name, bool isFolder);

}  // namespace setup
