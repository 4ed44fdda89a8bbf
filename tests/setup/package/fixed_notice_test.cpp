#include <gtest/gtest.h>

#include <string>

#include "setup/package/fixed_notice.h"

namespace setup {
namespace {

TEST(FixedNotice, IsSixtyTwoStoredBytesShownAsUtf8)
{
    const std::string shown = fixedNotice();
    EXPECT_EQ(shown, "KARVELO 1.01 – Setup für das Brettspiel. Bitte beachten Sie:\r\n");
    // Two of its characters need two more bytes in UTF-8 than in the code page.
    EXPECT_EQ(shown.size(), static_cast<size_t>(kFixedNoticeLength) + 3);
    EXPECT_EQ(fixedNotice(), fixedNotice());
}

}  // namespace
}  // namespace setup
