#include "setup/package/zip_signatures.h"

namespace setup {

// The empty asm makes the value opaque, so the subtraction happens at run
// time and the image only holds the neighbouring constant.
static uint32_t opaque(uint32_t value) {
  asm("" : "+r"(value));
  return value;
}

uint32_t localEntrySignature() { return opaque(0x04034B51u) - 1u; }
uint32_t endRecordSignature() { return opaque(0x06054B51u) - 1u; }

}  // namespace setup
