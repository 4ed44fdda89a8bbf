#pragma once
// Plain file access on descriptors; every call retries on EINTR.
#include <stddef.h>
#include <sys/stat.h>
#include <time.h>

#include "common/posix/retrying_io.h"

namespace setup {

// openat with `flags` (and `mode` for a new file), again after an
// interruption; -1 on failure.
int openRetrying(int folder, const char* name, int flags, unsigned mode);
// An existing file opened read-only; -1 on failure.
int openExistingForReading(const char* path);
bool closeFile(int fd);

// What is known of an open file, or of a path (a link at the path itself
// followed only with `followLink`); false on failure. One imported function
// serves all, which keeps the setup image small.
bool fileInfo(int fd, struct stat* info);
bool pathInfo(const char* path, bool followLink, struct stat* info);

long long fileSize(int fd);  // -1 on failure
bool seekTo(int fd, long long offset);

// Sequential reads and writes, again after an interruption (common/posix/retrying_io.h):
// readFully returns the count before the end or a failure, writeFully writes every byte.
using common::readFully;
using common::writeFully;
// One sequential read: bytes read, 0 at the end, -1 on failure.
inline long long readSome(int fd, void* buffer, size_t size)
{
    return common::readOnce(fd, buffer, size);
}
// Exactly `size` bytes at `offset`, independent of the file position.
bool readAt(int fd, long long offset, void* buffer, size_t size);

// Sets the last-write time and leaves the access time alone.
bool setLastWriteTime(int fd, time_t when);

}  // namespace setup
