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

namespace {

// Calls `put(done)` until `size` bytes are through, again after an interruption; a call that
// writes nothing counts as a failure.
template <typename Put>
bool putEveryByte(size_t size, Put put)
{
    size_t done = 0;
    while (done < size) {
        const ssize_t n = put(done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

bool writeFully(int fd, const void* data, size_t size)
{
    return putEveryByte(
        size, [&](size_t done) { return write(fd, static_cast<const char*>(data) + done, size - done); });
}

bool writeFullyAt(int fd, const void* data, size_t size, long long offset)
{
    return putEveryByte(size, [&](size_t done) {
        return pwrite(fd, static_cast<const char*>(data) + done, size - done,
                      static_cast<off_t>(offset + static_cast<long long>(done)));
    });
}

}  // namespace common
