// Whether a folder's contents can be changed by anyone but root and one user.
#pragma once
#include <string>
#include <sys/types.h>

namespace kv {

// True when `folder` resolves to a folder that only root and `user` can change: every folder on
// its way from "/" is theirs and not writable by others (a sticky folder may be, as /tmp is,
// since nobody can take a name in it from its owner), and the folder itself is writable by its
// owner alone. False when it does not exist or cannot be looked at.
bool onlyTrustedCanChange(const std::string& folder, uid_t user);

}  // namespace kv
