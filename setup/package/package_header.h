#pragma once
// The package behind the setup's own image: fixed header, texts, archive start.
#include <stddef.h>
#include <stdint.h>

#include "common/package_format/package_header_layout.h"

namespace setup {

constexpr long long kHeaderOffset = common::kPackageHeaderOffset;
using common::kFixedHeaderSize;
constexpr long long kVariablePartOffset = kHeaderOffset + kFixedHeaderSize;

// Shown when the package brings no welcome text of its own.
extern const char kDefaultWelcomeText[];

// The fixed part exactly as stored (little-endian on disk).
struct PackageHeader {
    char magic[3];  // "MRI"
    uint8_t keepWindowOpen;
    uint8_t productNameLength;
    uint8_t infNameLength;
    uint8_t adminOnly;
    uint8_t noticeLength;
    int32_t welcomeTextLength;
    int32_t licenceTextLength;
    uint8_t hideInfoButton;
    uint8_t multiVolume;
    uint8_t advancedInf;
    uint32_t totalSize;
};

// Everything the run learns from the package; read once, read-only after.
struct PackageSettings {
    PackageHeader header;
    bool hasMagic;          // "MRI" found at kHeaderOffset
    bool variablePartRead;  // the texts lie wholly inside the file and were read
    // Texts for display, converted to UTF-8. An absent product name is "";
    // the three malloc'd texts stay nullptr until readVariableHeader succeeds.
    char productName[3 * 255 + 1];
    // The installation script's file name, kept byte for byte as stored so
    // that it matches the unpacked file.
    char infName[256];
    char* notice;            // malloc'd UTF-8; "" when absent
    char* welcomeText;       // the package's text or kDefaultWelcomeText
    char* licenceText;       // "" when absent (no licence page)
    long long archiveStart;  // absolute offset of the first archive entry
};

// Zeroes `settings` (which must hold no texts: new, or released), then reads
// the magic and the fixed fields. Returns hasMagic; without it nothing else
// is filled in.
bool readFixedHeader(int fd, PackageSettings& settings);

// Reads and unscrambles the variable part after the fixed one and computes
// archiveStart. Refuses (false, variablePartRead stays false) a package
// without magic, with a negative length, or whose texts would reach past the
// end of the file: such a package counts as incomplete.
bool readVariableHeader(int fd, PackageSettings& settings);

// Frees the texts; safe to call more than once.
void releasePackageSettings(PackageSettings& settings);

}  // namespace setup
