#pragma once

#include <sys/stat.h>

namespace clockvane::safe_write {

// Gives the file open as `copy` what makes `original` (open as `originalFd`, with the status
// `original`) the file it is to its users: owner and group, permission bits, every extended
// attribute this process can see, POSIX ACLs (system.posix_acl_access) included, and the
// chattr flags; attributes and flags the copy got from its folder but the original lacks are
// removed. When the owner
// cannot be given (only the superuser gives files away), the group is still kept where the
// user may. True when all of it now matches, false when anything could not be kept.
bool copyMetadata(int originalFd, const struct stat& original, int copy);

}  // namespace clockvane::safe_write
