#include "setup/platform/files.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace setup {

int openRetrying(int folder, const char* name, int flags, unsigned mode) {
  int fd;
  do fd = openat(folder, name, flags, static_cast<mode_t>(mode));
  while (fd < 0 && errno == EINTR);
  return fd;
}

int openExistingForReading(const char* path) {
  return openRetrying(AT_FDCWD, path, O_RDONLY | O_CLOEXEC, 0);
}

bool closeFile(int fd) {
  // Linux releases the descriptor even when close reports EINTR: never retry.
  return close(fd) == 0;
}

bool fileInfo(int fd, struct stat* info) { return fstatat(fd, "", info, AT_EMPTY_PATH) == 0; }

bool pathInfo(const char* path, bool followLink, struct stat* info) {
  return fstatat(AT_FDCWD, path, info, followLink ? 0 : AT_SYMLINK_NOFOLLOW) == 0;
}

long long fileSize(int fd) {
  struct stat info;
  if (!fileInfo(fd, &info)) return -1;
  return info.st_size;
}

bool seekTo(int fd, long long offset) {
  return offset >= 0 && lseek(fd, offset, SEEK_SET) == offset;
}

long long readSome(int fd, void* buffer, size_t size) {
  ssize_t got;
  do got = read(fd, buffer, size);
  while (got < 0 && errno == EINTR);
  return got;
}

size_t readFully(int fd, void* buffer, size_t size) {
  size_t done = 0;
  while (done < size) {
    const long long got = readSome(fd, static_cast<char*>(buffer) + done, size - done);
    if (got <= 0) break;
    done += static_cast<size_t>(got);
  }
  return done;
}

bool readAt(int fd, long long offset, void* buffer, size_t size) {
  size_t done = 0;
  while (done < size) {
    const ssize_t got = pread(fd, static_cast<char*>(buffer) + done, size - done,
                              static_cast<off_t>(offset + static_cast<long long>(done)));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    done += static_cast<size_t>(got);
  }
  return true;
}

bool writeFully(int fd, const void* data, size_t size) {
  size_t done = 0;
  while (done < size) {
    const ssize_t put = write(fd, static_cast<const char*>(data) + done, size - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    done += static_cast<size_t>(put);
  }
  return true;
}

bool setLastWriteTime(int fd, time_t when) {
  struct timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_sec = when;
  times[1].tv_nsec = 0;
  return futimens(fd, times) == 0;
}

}  // namespace setup
