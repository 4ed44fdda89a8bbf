#pragma once
// Reads and writes on descriptors that carry on after an interrupting signal (EINTR) and
// after a short transfer, until every byte is through, the file ends or a call fails.
#include <stddef.h>

namespace common {

// One read from the file position, again after an interruption: bytes read, 0 at the end,
// -1 on failure.
long long readOnce(int fd, void* buffer, size_t size);

// Sequential reads until `size` bytes, the end or a failure; the bytes read before either.
size_t readFully(int fd, void* buffer, size_t size);

// Reads at `offset` without moving the file position until `size` bytes or the end: the
// bytes read, or -1 on failure.
long long readFullyAt(int fd, void* buffer, size_t size, long long offset);

// Every byte written, from the file position or at `offset`; a call that writes nothing
// counts as a failure.
bool writeFully(int fd, const void* data, size_t size);
bool writeFullyAt(int fd, const void* data, size_t size, long long offset);

}  // namespace common
