#include "setup/package/fixed_notice.h"

#include <string.h>

#include "common/package_format/package_text.h"

namespace setup {
namespace {

// Windows-1252: 0x96 is the en dash, 0xFC the u umlaut.
constexpr char kPlain[] = "KARVELO 1.01 \x96 Setup f\xfc"
                          "r das Brettspiel. Bitte beachten Sie:\r\n";
static_assert(sizeof kPlain == kFixedNoticeLength + 1);

struct StoredText {
    char bytes[kFixedNoticeLength];
};

// Scrambled by the compiler: only the scrambled bytes reach the image.
constexpr StoredText scrambledAtBuildTime()
{
    StoredText stored{};
    for (int i = 0; i < kFixedNoticeLength; ++i)
        stored.bytes[i] = kPlain[i];
    common::scrambleText(stored.bytes, kFixedNoticeLength);
    return stored;
}
constexpr StoredText kStored = scrambledAtBuildTime();

}  // namespace

const char* fixedNotice()
{
    static char text[3 * kFixedNoticeLength + 1];
    if (text[0] == '\0') {
        char work[kFixedNoticeLength];
        memcpy(work, kStored.bytes, sizeof work);
        // Keeps the optimiser from unscrambling at build time and storing the
        // plain text after all.
        asm("" : : "r"(work) : "memory");
        common::scrambleText(work, sizeof work);
        common::windows1252ToUtf8<common::kPackageTextReading>(text, sizeof text, work, sizeof work);
    }
    return text;
}

}  // namespace setup
