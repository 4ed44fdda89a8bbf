#include "common/package_format/zip_records.h"

namespace common {

// The empty asm makes the value opaque, so the subtraction happens at run time and the image
// only holds the neighbouring constant.
static uint32_t opaque(uint32_t value)
{
    asm("" : "+r"(value));
    return value;
}

uint32_t localEntrySignatureAtRunTime()
{
    return opaque(kLocalEntrySignature + 1u) - 1u;
}
uint32_t endRecordSignatureAtRunTime()
{
    return opaque(kEndRecordSignature + 1u) - 1u;
}

}  // namespace common
