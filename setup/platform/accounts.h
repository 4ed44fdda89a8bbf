#pragma once
// Who counts as an administrator of this machine.
#include <stddef.h>
#include <sys/types.h>

namespace setup {

// Effective uid 0, or a member (primary or supplementary) of group sudo, wheel or admin.
bool isAdministratorAccount();

// The decision behind isAdministratorAccount, on given facts: `uid` is the effective user,
// `primaryGid` the effective group, `groups` the supplementary groups and `adminGids` the ids
// of those administrator groups that exist on the machine.
bool isAdministratorFor(uid_t uid, gid_t primaryGid, const gid_t* groups, size_t groupCount,
                        const gid_t* adminGids, size_t adminGidCount);

}  // namespace setup
