#pragma once

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace clockvane::reliability {

// Limits a child process runs under.
struct ChildLimits {
    // RLIMIT_FSIZE: the largest file the child may write, as on a disk that is full at that
    // size. SIGXFSZ is ignored, so a write past it fails with EFBIG instead of killing.
    std::optional<unsigned long> fileSizeLimit;
    // Runs as this user and group (the tests must run as the superuser to switch), member of
    // these further groups and of no other.
    std::optional<uid_t> user;
    std::vector<gid_t> groups;
    // Standard output goes to this file instead of being captured (/dev/full, say).
    std::optional<std::string> standardOutput;
};

struct ToolRun {
    int exitCode = -1;  // 128 + signal when the tool was killed
    std::string out;
    std::string err;
};

// Whether the tests were built together with the command-line tool.
bool haveCommandLineTool();

// The exit code of a child that could not start the tool at all, for example because an
// unprivileged user may not enter the folder it was built in.
inline constexpr int kToolNotRunnable = 126;

// Runs the built clockvane binary with the arguments and collects what it printed.
ToolRun runTool(const std::vector<std::string>& arguments, const ChildLimits& limits = {});

struct ChildResult {
    int exitCode = -1;   // -1 when killed
    int signal = 0;      // the signal that ended it, 0 for a normal exit
    std::string report;  // what `work` returned
};

// Runs `work` in a forked copy of this process under `limits`, and returns what it returned.
// The child ends with _exit, so nothing of the test framework runs twice.
ChildResult runInChild(const std::function<std::string()>& work, const ChildLimits& limits = {});

// A fresh folder, removed with everything in it afterwards (write bits restored first).
class ScratchFolder {
public:
    explicit ScratchFolder(const std::filesystem::path& parent = {});
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// The names in a folder, hidden ones included.
std::set<std::string> namesIn(const std::filesystem::path& folder);

// Whether the file system of `folder` creates unnamed temporary files (O_TMPFILE).
bool unnamedTemporariesSupported(const std::filesystem::path& folder);

bool runningAsSuperuser();

// Whether this build runs under AddressSanitizer, which slows everything down: long runs are
// shortened there.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kUnderSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kUnderSanitizer = true;
#else
inline constexpr bool kUnderSanitizer = false;
#endif
#else
inline constexpr bool kUnderSanitizer = false;
#endif

// A folder in memory where there is one (its fsync calls then cost nothing), else the
// temporary folder.
std::filesystem::path fastScratchParent();

// Runs `action` with the file-system identity of `user` (setfsuid/setfsgid): the superuser's
// permission overrides are dropped for its duration and restored afterwards.
void withFileSystemUser(uid_t user, const std::function<void()>& action);

}  // namespace clockvane::reliability
