#include "setup/platform/files.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace setup {

int openRetrying(int folder, const char* name, int flags, unsigned mode)
{
    int fd;
    do
        fd = openat(folder, name, flags, static_cast<mode_t>(mode));
    while (fd < 0 && errno == EINTR);
    return fd;
}

int openExistingForReading(const char* path)
{
    return openRetrying(AT_FDCWD, path, O_RDONLY | O_CLOEXEC, 0);
}

bool closeFile(int fd)
{
    // Linux releases the descriptor even when close reports EINTR: never retry.
    return close(fd) == 0;
}

bool fileInfo(int fd, struct stat* info)
{
    return fstatat(fd, "", info, AT_EMPTY_PATH) == 0;
}

bool pathInfo(const char* path, bool followLink, struct stat* info)
{
    return fstatat(AT_FDCWD, path, info, followLink ? 0 : AT_SYMLINK_NOFOLLOW) == 0;
}

long long fileSize(int fd)
{
    struct stat info;
    if (!fileInfo(fd, &info))
        return -1;
    return info.st_size;
}

bool seekTo(int fd, long long offset)
{
    return offset >= 0 && lseek(fd, offset, SEEK_SET) == offset;
}

bool readAt(int fd, long long offset, void* buffer, size_t size)
{
    return common::readFullyAt(fd, buffer, size, offset) == static_cast<long long>(size);
}

bool setLastWriteTime(int fd, time_t when)
{
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = when;
    times[1].tv_nsec = 0;
    return futimens(fd, times) == 0;
}

}  // namespace setup
