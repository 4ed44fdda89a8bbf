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

// Where an entry's bytes go, chunk by chunk; false stops the entry as
// damaged. The unpacking never learns whether that is a file.
struct ByteSink {
    bool (*write)(void* context, const unsigned char* data, size_t size);
    void* context;
};

enum class UnpackResult {
    Ok,             // every byte written and the CRC-32 matches
    Damaged,        // short data, a broken stream, a refusing sink or a CRC mismatch
    UnknownMethod,  // neither stored nor Deflate; nothing was read or written
};

// Reads `dataSize` bytes from the package's current position (decrypting them
// with `keys` when given), hands them stored (method 0) or inflated (method 8)
// to `sink` and checks the CRC-32 of what it took against `expectedCrc`.
UnpackResult unpackEntryData(int package, const ByteSink& sink, uint16_t method, uint32_t dataSize,
                             common::ZipKeys* keys, const ChunkBuffers& buffers, uint32_t expectedCrc);

}  // namespace setup
