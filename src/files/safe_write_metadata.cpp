#include "files/safe_write_metadata.h"

#include <algorithm>
#include <cerrno>
#include <linux/fs.h>
#include <optional>
#include <string>
#include <sys/ioctl.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

#include "files/safe_write_files.h"

namespace clockvane::safe_write {
namespace {

constexpr mode_t kPermissionBits = 07777;

// The file attribute flags a user sets with chattr. The others lsattr shows (e: extents,
// E: encrypted, I: indexed, N: inline data, V: verity) record how the file system stores a
// file; a new file gets its own.
constexpr int kChattrFlags = FS_SECRM_FL | FS_UNRM_FL | FS_COMPR_FL | FS_SYNC_FL | FS_IMMUTABLE_FL |
                             FS_APPEND_FL | FS_NODUMP_FL | FS_NOATIME_FL | FS_NOCOMP_FL |
                             FS_JOURNAL_DATA_FL | FS_NOTAIL_FL | FS_DIRSYNC_FL | FS_TOPDIR_FL |
                             FS_NOCOW_FL | FS_DAX_FL | FS_PROJINHERIT_FL | FS_CASEFOLD_FL;

// The length an xattr call gives, or its errno, taken before anything else can change it.
Result<std::size_t, SystemError> lengthOrError(ssize_t returned)
{
    if (returned < 0) return lastError();
    return static_cast<std::size_t>(returned);
}

// Asks with an empty buffer for the size, then fetches; a value that grew in between is
// asked for again. `fetch` returns lengthOrError() of its call.
template <typename Fetch>
Result<std::string, SystemError> fetchSized(Fetch fetch)
{
    for (int attempt = 0; attempt < 8; ++attempt) {
        const auto size = fetch(nullptr, 0);
        if (!size) return size.error();
        std::string buffer(*size, '\0');
        const auto got = fetch(buffer.data(), buffer.size());
        if (got) {
            buffer.resize(*got);
            return buffer;
        }
        if (got.error().code != ERANGE) return got.error();
    }
    return SystemError{ERANGE};
}

// The attribute names of a file; a file system without extended attributes has none.
std::optional<std::vector<std::string>> attributeNames(int fd)
{
    const auto list = fetchSized([fd](char* buffer, std::size_t size) {
        return lengthOrError(::flistxattr(fd, buffer, size));
    });
    if (!list) {
        if (list.error().code == ENOTSUP) return std::vector<std::string>{};
        return std::nullopt;
    }
    std::vector<std::string> names;
    for (std::size_t begin = 0; begin < list->size();) {
        const std::size_t end = list->find('\0', begin);
        names.push_back(list->substr(begin, end - begin));
        begin = end == std::string::npos ? list->size() : end + 1;
    }
    return names;
}

bool copyAttributes(int originalFd, int copy)
{
    const auto wanted = attributeNames(originalFd);
    const auto present = attributeNames(copy);
    if (!wanted || !present) return false;
    // A folder's default ACL gives a new file an access ACL the original may not have.
    for (const std::string& name : *present) {
        if (std::find(wanted->begin(), wanted->end(), name) == wanted->end() &&
            ::fremovexattr(copy, name.c_str()) != 0)
            return false;
    }
    for (const std::string& name : *wanted) {
        const auto value = fetchSized([&](char* buffer, std::size_t size) {
            return lengthOrError(::fgetxattr(originalFd, name.c_str(), buffer, size));
        });
        if (!value || ::fsetxattr(copy, name.c_str(), value->data(), value->size(), 0) != 0)
            return false;
    }
    return true;
}

// The chattr flags of a file; a file system without any (ENOTTY, EOPNOTSUPP) has none. The
// ioctl takes an int, whatever its name says.
std::optional<int> attributeFlags(int fd)
{
    int flags = 0;
    const Status asked = checked(::ioctl(fd, FS_IOC_GETFLAGS, &flags));
    if (asked) return flags & kChattrFlags;
    if (asked.error().code == ENOTTY || asked.error().code == EOPNOTSUPP) return 0;
    return std::nullopt;
}

// Some flags need a privilege the user may lack (+j, +i), and a file system may take only some
// (tmpfs knows four): only the copy's flags read back tell whether they match.
bool copyFlags(int originalFd, int copy)
{
    const auto wanted = attributeFlags(originalFd);
    const auto present = attributeFlags(copy);
    if (!wanted || !present) return false;
    if (*wanted == *present) return true;
    int all = 0;  // the copy's other flags are passed back unchanged
    if (::ioctl(copy, FS_IOC_GETFLAGS, &all) != 0) return false;
    all = (all & ~kChattrFlags) | *wanted;
    if (::ioctl(copy, FS_IOC_SETFLAGS, &all) != 0) return false;
    return attributeFlags(copy) == wanted;
}

}  // namespace

bool copyMetadata(int originalFd, const struct stat& original, int copy)
{
    // The owner first: a change of owner clears set-id bits and file capabilities, which the
    // mode and the attributes then give back.
    if (::fchown(copy, original.st_uid, original.st_gid) != 0)
        (void)::fchown(copy, static_cast<uid_t>(-1), original.st_gid);
    if (::fchmod(copy, original.st_mode & kPermissionBits) != 0) return false;
    if (!copyAttributes(originalFd, copy) || !copyFlags(originalFd, copy)) return false;

    // The kernel quietly drops what it does not allow (a set-group-ID bit for a group the user
    // is not in), so only the result tells.
    struct stat result {};
    return ::fstat(copy, &result) == 0 && result.st_uid == original.st_uid &&
           result.st_gid == original.st_gid &&
           (result.st_mode & kPermissionBits) == (original.st_mode & kPermissionBits);
}

}  // namespace clockvane::safe_write
