#include "setup/platform/accounts.h"

#include <grp.h>
#include <stdlib.h>
#include <unistd.h>

namespace setup {
namespace {

bool contains(const gid_t* list, size_t count, gid_t gid)
{
    for (size_t i = 0; i < count; ++i)
        if (list[i] == gid)
            return true;
    return false;
}

}  // namespace

bool isAdministratorFor(uid_t uid, gid_t primaryGid, const gid_t* groups, size_t groupCount,
                        const gid_t* adminGids, size_t adminGidCount)
{
    if (uid == 0)
        return true;
    if (contains(adminGids, adminGidCount, primaryGid))
        return true;
    for (size_t i = 0; i < groupCount; ++i)
        if (contains(adminGids, adminGidCount, groups[i]))
            return true;
    return false;
}

bool isAdministratorAccount()
{
    gid_t adminGids[3];
    size_t adminGidCount = 0;
    static const char* const kAdminGroups[] = {"sudo", "wheel", "admin"};
    for (const char* name : kAdminGroups) {
        // A group this machine does not have grants nothing.
        if (const group* entry = getgrnam(name))
            adminGids[adminGidCount++] = entry->gr_gid;
    }

    const int groupCount = getgroups(0, nullptr);
    gid_t* groups = nullptr;
    int filled = 0;
    if (groupCount > 0) {
        groups = static_cast<gid_t*>(malloc(sizeof(gid_t) * static_cast<size_t>(groupCount)));
        // The list may shrink between the two calls; a failure leaves only the primary group.
        if (groups)
            filled = getgroups(groupCount, groups);
        if (filled < 0)
            filled = 0;
    }
    const bool result = isAdministratorFor(geteuid(), getegid(), groups, static_cast<size_t>(filled),
                                           adminGids, adminGidCount);
    free(groups);
    return result;
}

}  // namespace setup
