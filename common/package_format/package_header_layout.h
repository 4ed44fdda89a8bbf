#pragma once
// Where the package starts behind the setup image, and the fields of its fixed header:
// offsets into the header, little-endian where wider than a byte. The variable part follows
// in this order: product name, INF name (both plain), notice, welcome and licence texts
// (scrambled), then the archive.
namespace common {

constexpr long long kPackageHeaderOffset = 35328;  // the setup image is padded to this size
constexpr int kFixedHeaderSize = 23;

enum FixedHeaderField : int {
    kMagicAt = 0,               // "MRI"
    kKeepWindowOpenAt = 3,      // flag byte
    kProductNameLengthAt = 4,   // byte
    kInfNameLengthAt = 5,       // byte
    kAdminOnlyAt = 6,           // flag byte
    kNoticeLengthAt = 7,        // byte
    kWelcomeTextLengthAt = 8,   // signed 32 bits
    kLicenceTextLengthAt = 12,  // signed 32 bits
    kHideInfoButtonAt = 16,     // flag byte
    kMultiVolumeAt = 17,        // flag byte
    kAdvancedInfAt = 18,        // flag byte
    kTotalSizeAt = 19,          // 32 bits: the size of the whole file, all volumes joined
};
static_assert(kTotalSizeAt + 4 == kFixedHeaderSize);

}  // namespace common
