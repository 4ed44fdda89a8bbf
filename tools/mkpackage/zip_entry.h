#pragma once
// One ZIP local entry as the setup's archive walk reads it: header, name, data and an
// optional data descriptor. Test-only damage makes the bad entries a reader must survive.

#include <cstdint>
#include <optional>
#include <string>

#include "tools/mkpackage/byte_writer.h"
#include "common/package_format/zip_records.h"
#include "tools/mkpackage/dos_time.h"

namespace mkpackage {

enum class Method : std::uint16_t { Stored = 0, Deflate = 8 };

enum class DeflateDamage {
    None,
    InvalidBlockType,  // the first block claims the reserved type 3: every inflater rejects it
    FlippedByte,       // one byte in the middle inverted: wrong output or a decoder error
    Truncated,         // the stream loses its second half, so the final block never comes
};

struct EntryDamage {
    bool wrongCrc = false;                       // header CRC off by one bit
    std::optional<std::uint16_t> methodField{};  // written in place of the real method
    DeflateDamage deflate = DeflateDamage::None;
    std::optional<std::uint32_t> compressedSizeField{};  // written in place of the real size
    std::optional<std::uint16_t> extraLengthField{};     // written; no extra bytes follow
    std::uint32_t signature = common::kLocalEntrySignature;
};

struct EntryPlan {
    std::string name{};  // raw bytes as written: may hold "\", "..", a leading "/" or NUL
    Bytes data{};
    Method method = Method::Deflate;
    int level = 6;
    DosDateTime modified{};
    std::uint16_t extraFlags = 0;    // general-purpose bits beyond 0 and 3, e.g. bit 1 for level
    std::string password{};          // bytes as keyed (Windows-1252); empty: not encrypted
    bool checkByteFromTime = false;  // flag bit 3: the check byte is the time's high byte
    bool dataDescriptor = false;     // 50 4B 07 08, CRC, sizes after the data
    std::uint32_t fillerSeed = 1;    // makes the encryption header reproducible
    EntryDamage damage{};
};

// Raw Deflate (no zlib or gzip wrapping), as ZIP method 8 stores it.
Bytes deflateRaw(const Bytes& data, int level);

std::uint32_t crc32Of(const Bytes& data);

Bytes encodeEntry(const EntryPlan& entry);

// A ZIP end-of-central-directory record describing no central directory, with a comment.
Bytes zipEndRecord(const std::string& comment);

}  // namespace mkpackage
