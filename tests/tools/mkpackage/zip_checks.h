#pragma once
// Independent views of generated archives: a central directory so that Info-ZIP's unzip can
// judge the local entries and a raw inflater.

#include <zlib.h>

#include <array>
#include <stdexcept>
#include <string>

#include "tools/mkpackage/package_builder.h"
#include "tests/support/shell_command.h"

namespace mkpackage::testing {

// The entries of `built` as a standalone .zip: the local entries unchanged, followed by a
// central directory and end record derived from their headers.
inline Bytes standaloneZip(const BuiltPackage& built, std::size_t entryCount, std::size_t entriesEnd)
{
    const std::size_t base = built.archiveStart;
    Bytes zip(built.bytes.begin() + static_cast<std::ptrdiff_t>(base),
              built.bytes.begin() + static_cast<std::ptrdiff_t>(entriesEnd));
    Bytes directory;
    for (std::size_t k = 0; k < entryCount; ++k) {
        const std::size_t at = built.entryOffsets.at(k) - base;
        const std::uint16_t nameLength = readU16(zip, at + 26);
        putU32(directory, 0x02014B50u);
        putU16(directory, 20);  // made by
        directory.insert(directory.end(), zip.begin() + static_cast<std::ptrdiff_t>(at + 4),
                         zip.begin() + static_cast<std::ptrdiff_t>(at + 30));  // needed .. extra len
        putU16(directory, 0);                                                  // comment length
        putU16(directory, 0);                                                  // disk
        putU16(directory, 0);                                                  // internal attributes
        putU32(directory, 0);                                                  // external attributes
        putU32(directory, static_cast<std::uint32_t>(at));
        directory.insert(directory.end(), zip.begin() + static_cast<std::ptrdiff_t>(at + 30),
                         zip.begin() + static_cast<std::ptrdiff_t>(at + 30 + nameLength));
    }
    const auto directoryOffset = static_cast<std::uint32_t>(zip.size());
    putBytes(zip, directory);
    putU32(zip, 0x06054B50u);
    putU16(zip, 0);
    putU16(zip, 0);
    putU16(zip, static_cast<std::uint16_t>(entryCount));
    putU16(zip, static_cast<std::uint16_t>(entryCount));
    putU32(zip, static_cast<std::uint32_t>(directory.size()));
    putU32(zip, directoryOffset);
    putU16(zip, 0);
    return zip;
}

enum class InflateOutcome { Complete, Incomplete, Rejected };
struct Inflated {
    InflateOutcome outcome;
    Bytes data;
};
inline Inflated inflateRaw(const Bytes& stream)
{
    z_stream z{};
    if (inflateInit2(&z, -15) != Z_OK)
        throw std::runtime_error("inflateInit2 failed");
    Inflated result{InflateOutcome::Incomplete, {}};
    z.next_in = const_cast<Bytef*>(stream.data());
    z.avail_in = static_cast<uInt>(stream.size());
    std::array<std::uint8_t, 4096> chunk{};
    for (;;) {
        z.next_out = chunk.data();
        z.avail_out = chunk.size();
        const int rc = inflate(&z, Z_NO_FLUSH);
        result.data.insert(result.data.end(), chunk.begin(), chunk.end() - z.avail_out);
        if (rc == Z_STREAM_END)
            result.outcome = InflateOutcome::Complete;
        if (rc == Z_DATA_ERROR || rc == Z_NEED_DICT || rc == Z_MEM_ERROR)
            result.outcome = InflateOutcome::Rejected;
        if (rc != Z_OK)
            break;
    }
    inflateEnd(&z);
    return result;
}

using ::kv::test::CommandResult;
using ::kv::test::runCommand;
using ::kv::test::shellQuote;

inline std::string asString(const Bytes& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}
inline Bytes asBytes(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

}  // namespace mkpackage::testing
