#include "common/posix/retrying_io.h"

#include <errno.h>
#include <sys/types.h>
#include <unistd.h>

namespace common {

long long readOnce(int fd, void* buffer, size_t size)
{
    ssize_t got;
    do
        got = read(fd, buffer, size);
    while (got < 0 && errno == EINTR);
    return got;
}

size_t readFully(int fd, void* buffer, size_t size)
{
    size_t done = 0;
    while (done < size) {
        const long long got = readOnce(fd, static_cast<char*>(buffer) + done, size - done);
        if (got <= 0)
            break;
        done += static_cast<size_t>(got);
    }
    return done;
}

long long readFullyAt(int fd, void* buffer, size_t size, long long offset)
{
    size_t done = 0;
    while (done < size) {
        const ssize_t got = pread(fd, static_cast<char*>(buffer) + done, size - done,
                                  static_cast<off_t>(offset + static_cast<long long>(done)));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return -1;
        if (got == 0)
            break;  // the end of the file
        done += static_cast<size_t>(got);
    }
    return static_cast<long long>(done);
}

bool writeFully(int fd, const void* data, size_t size)
{
    size_t done = 0;
    while (done < size) {
        const ssize_t put = write(fd, static_cast<const char*>(data) + done, size - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        done += static_cast<size_t>(put);
    }
    return true;
}

bool writeFullyAt(int fd, const void* data, size_t size, long long offset)
{
    size_t done = 0;
    while (done < size) {
        const ssize_t put = pwrite(fd, static_cast<const char*>(data) + done, size - done,
                                   static_cast<off_t>(offset + static_cast<long long>(done)));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        done += static_cast<size_t>(put);
    }
    return true;
}

}  // namespace common
