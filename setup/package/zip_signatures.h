#pragma once
// ZIP record signatures. The setup image must not contain the bytes of the
// local-entry or end-record signature (a scan of the file has to find the
// archive first), so both are formed at run time where the optimiser cannot
// fold them back into an immediate.
#include <stdint.h>

namespace setup {

uint32_t localEntrySignature();          // 50 4B 03 04 as a little-endian value
uint32_t endRecordSignature();           // 50 4B 05 06
constexpr uint32_t kDataDescriptorSignature = 0x08074B50u;
// Some writers leave this in place of the local-entry signature.
constexpr uint32_t kAlternateEntrySignature = 0x50000000u;

}  // namespace setup
