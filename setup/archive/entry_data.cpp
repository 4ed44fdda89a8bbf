#include "setup/archive/entry_data.h"

#include <string.h>
#include <zlib.h>

#include "setup/platform/files.h"

namespace setup {
namespace {

// The entry's data, read chunk by chunk and never beyond its end.
struct EntrySource {
    int package;
    uint32_t remaining;
    common::ZipKeys* keys;

    // Bytes placed in `buffer`; 0 once the data is used up, -1 when the file
    // ends (or fails) early.
    long long next(unsigned char* buffer)
    {
        if (remaining == 0)
            return 0;
        const size_t want = remaining < kChunkSize ? remaining : kChunkSize;
        const long long got = readSome(package, buffer, want);
        if (got <= 0)
            return -1;
        if (keys)
            common::decryptZipBuffer(*keys, buffer, static_cast<size_t>(got));
        remaining -= static_cast<uint32_t>(got);
        return got;
    }
};

// Hands on and sums one chunk of output.
bool emit(const ByteSink& sink, const unsigned char* data, size_t size, uLong& crc)
{
    if (size == 0)
        return true;
    crc = crc32(crc, data, static_cast<uInt>(size));
    return sink.write(sink.context, data, size);
}

bool copyStored(EntrySource& source, const ByteSink& sink, unsigned char* buffer, uLong& crc)
{
    for (;;) {
        const long long got = source.next(buffer);
        if (got <= 0)
            return got == 0;
        if (!emit(sink, buffer, static_cast<size_t>(got), crc))
            return false;
    }
}

bool inflateRaw(EntrySource& source, const ByteSink& sink, const ChunkBuffers& buffers, uLong& crc)
{
    z_stream stream;
    memset(&stream, 0, sizeof stream);
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
        return false;
    int status = Z_OK;
    bool good = true;
    bool outputFull = false;
    while (good && status != Z_STREAM_END) {
        // A call that filled the output may hold more back although it took all
        // the input; collect it before asking for input, which may be used up.
        if (stream.avail_in == 0 && !outputFull) {
            const long long got = source.next(buffers.input);
            // Data used up (or cut off) before the final block: the stream is broken.
            if (got <= 0) {
                good = false;
                break;
            }
            stream.next_in = buffers.input;
            stream.avail_in = static_cast<uInt>(got);
        }
        stream.next_out = buffers.output;
        stream.avail_out = kInflateOutputSize;
        status = inflate(&stream, Z_NO_FLUSH);
        outputFull = stream.avail_out == 0;
        if (status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR)
            good = false;
        else
            good = emit(sink, buffers.output, kInflateOutputSize - stream.avail_out, crc);
    }
    inflateEnd(&stream);
    return good;
}

}  // namespace

UnpackResult unpackEntryData(int package, const ByteSink& sink, uint16_t method, uint32_t dataSize,
                             common::ZipKeys* keys, const ChunkBuffers& buffers, uint32_t expectedCrc)
{
    if (method != 0 && method != 8)
        return UnpackResult::UnknownMethod;
    EntrySource source{package, dataSize, keys};
    uLong crc = crc32(0, Z_NULL, 0);
    const bool complete =
        method == 0 ? copyStored(source, sink, buffers.input, crc) : inflateRaw(source, sink, buffers, crc);
    return complete && crc == expectedCrc ? UnpackResult::Ok : UnpackResult::Damaged;
}

}  // namespace setup
