#pragma once
// Lays out a whole package file: the padded program image, the header with its scrambled
// texts, the archive entries and the tail that the completeness check looks at.

#include <cstdint>
#include <string>
#include <vector>

#include "tools/mkpackage/byte_writer.h"
#include "common/package_format/package_header_layout.h"
#include "tools/mkpackage/zip_entry.h"

namespace mkpackage {

inline constexpr std::size_t kImageSize = common::kPackageHeaderOffset;
inline constexpr std::size_t kFixedHeaderSize = common::kFixedHeaderSize;

// Texts are the bytes as stored (Windows-1252), before scrambling.
struct HeaderSettings {
    bool keepWindowOpen = false;
    bool adminOnly = false;
    bool hideInfoButton = false;
    bool multiVolume = false;
    bool advancedInf = false;
    std::string productName;
    std::string infName;
    std::string notice;
    std::string welcomeText;
    std::string licenceText;
};

struct PackagePlan {
    Bytes image;
    HeaderSettings header;
    std::vector<EntryPlan> entries;
    Bytes rawArchive;                // appended behind the entries unchanged, e.g. a whole .zip
    Bytes tail{'R', 'S', 'F', 'X'};  // empty: no trailer at all
};

struct BuiltPackage {
    Bytes bytes;
    std::uint32_t archiveStart = 0;
    std::vector<std::size_t> entryOffsets;  // file offset of each entry's local header
};

// Throws Error if the image is larger than the slot or carries a ZIP signature that a
// reader scanning the file could mistake for the archive.
void checkImage(const Bytes& image);

bool containsZipSignature(const Bytes& bytes);

// The fixed part and the variable part, texts scrambled.
Bytes encodeHeader(const HeaderSettings& header, std::uint32_t totalSize);

BuiltPackage buildPackage(const PackagePlan& plan);

}  // namespace mkpackage
