#include <gtest/gtest.h>
#include <unistd.h>

#include "setup/platform/accounts.h"

namespace setup {
namespace {

// Group ids as a machine might hand them out: sudo 27, wheel 10, admin 120.
constexpr gid_t kAdminGids[] = {27, 10, 120};
constexpr uid_t kUser = 1000;
constexpr gid_t kUsers = 100;

TEST(AdministratorDecision, RootAlwaysCounts)
{
    EXPECT_TRUE(isAdministratorFor(0, kUsers, nullptr, 0, nullptr, 0));
}

TEST(AdministratorDecision, AnyAdministratorGroupCountsAsPrimaryOrSupplementary)
{
    for (const gid_t admin : kAdminGids) {
        SCOPED_TRACE(admin);
        EXPECT_TRUE(isAdministratorFor(kUser, admin, nullptr, 0, kAdminGids, 3));
        const gid_t supplementary[] = {kUsers, 24, admin, 44};
        EXPECT_TRUE(isAdministratorFor(kUser, kUsers, supplementary, 4, kAdminGids, 3));
    }
}

TEST(AdministratorDecision, OrdinaryUserDoesNot)
{
    const gid_t groups[] = {kUsers, 24, 25, 29, 44, 46};
    EXPECT_FALSE(isAdministratorFor(kUser, kUsers, groups, 6, kAdminGids, 3));
    // The last group of the list is looked at, and nothing beyond the given count.
    EXPECT_TRUE(isAdministratorFor(kUser, kUsers, kAdminGids, 3, kAdminGids + 2, 1));
    EXPECT_FALSE(isAdministratorFor(kUser, kUsers, kAdminGids, 2, kAdminGids + 2, 1));
}

TEST(AdministratorDecision, GroupsMissingOnTheMachineGrantNothing)
{
    const gid_t groups[] = {27, 10};
    EXPECT_FALSE(isAdministratorFor(kUser, 27, groups, 2, nullptr, 0));
}

TEST(AdministratorAccount, TheSuperUserIsOne)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root";
    EXPECT_TRUE(isAdministratorAccount());
}

}  // namespace
}  // namespace setup
