#pragma once
// Unpacking one entry's data from the package into its file.
#include <stddef.h>
#include <stdint.h>

#include "common/package_format/zip_crypto.h"

namespace setup {

// Input is read in chunks of this size.
constexpr size_t kChunkSize = 32768;
// The inflater keeps the last 32 KB of output as its window and copies each
// call's output there when that output is smaller than the window: a larger
// output buffer saves that second copy of almost every byte.
constexpr size_t kInflateOutputSize = 8 * kChunkSize;

// kChunkSize bytes of input and kInflateOutputSize bytes of output, reused
// for every entry.
struct ChunkBuffers {
  unsigned char* input;
  unsigned char* output;
};

enum class UnpackResult {
  Ok,             // every byte written and the CRC-32 matches
  Damaged,        // short data, a broken stream, a failed write or a CRC mismatch
  UnknownMethod,  // neither stored nor Deflate; nothing was read or written
};

// Reads `dataSize` bytes from the package's current position (decrypting them
// with `keys` when given), stores (method 0) or inflates (method 8) them into
// `target` and checks the CRC-32 of what was written against `expectedCrc`.
UnpackResult unpackEntryData(int package, int target, uint16_t method, uint32_t dataSize,
                             common::ZipKeys* keys, const ChunkBuffers& buffers,
                             uint32_t expectedCrc);

}  // namespace setup
