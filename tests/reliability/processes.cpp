#include "processes.h"

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/fsuid.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace clockvane::reliability {
namespace {

namespace fs = std::filesystem;

std::string readText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// In the child, before it does its work. Only plain system calls: the child of a forked test
// process should not lean on anything that might hold a lock of the parent's.
void applyLimits(const ChildLimits& limits)
{
    if (limits.fileSizeLimit) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{*limits.fileSizeLimit, *limits.fileSizeLimit};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(120);
    }
    if (limits.user) {
        if (::setgroups(limits.groups.size(), limits.groups.data()) != 0 ||
            ::setgid(*limits.user) != 0 || ::setuid(*limits.user) != 0)
            ::_exit(121);
    }
}

bool writeAll(int fd, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t written = ::write(fd, text.data() + done, text.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
}

}  // namespace

bool haveCommandLineTool()
{
#ifdef CLOCKVANE_CLI_PATH
    return true;
#else
    return false;
#endif
}

ToolRun runTool(const std::vector<std::string>& arguments, const ChildLimits& limits)
{
#ifdef CLOCKVANE_CLI_PATH
    // Output goes to files, not pipes: nothing can block however much the tool prints. The
    // files are opened before the fork, so a child running as another user can write them.
    ScratchFolder capture;
    const std::string outPath = (capture / "out").string();
    const std::string errPath = (capture / "err").string();
    const int out = ::open(limits.standardOutput.value_or(outPath).c_str(),
                           O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (out < 0 || err < 0) throw std::runtime_error("cannot capture the tool's output");

    // Another user may not be able to enter the folder the tool was built in; a copy beside
    // the captured output, in a folder open to everyone, runs wherever the tests run.
    std::string tool = CLOCKVANE_CLI_PATH;
    if (limits.user) {
        const fs::path copy = capture / "clockvane";
        fs::copy_file(tool, copy);
        fs::permissions(copy, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                  fs::perms::others_read | fs::perms::others_exec);
        tool = copy.string();
    }
    std::vector<std::string> argv{tool};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<char*> pointers;
    pointers.reserve(argv.size() + 1);
    for (std::string& argument : argv) pointers.push_back(argument.data());
    pointers.push_back(nullptr);

    ToolRun run;
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(out, STDOUT_FILENO);
        ::dup2(err, STDERR_FILENO);
        applyLimits(limits);
        ::execv(pointers[0], pointers.data());
        ::_exit(kToolNotRunnable);
    }
    ::close(out);
    ::close(err);
    if (child < 0) return run;
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {}
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.out = readText(outPath);
    run.err = readText(errPath);
    return run;
#else
    (void)arguments;
    (void)limits;
    return {};
#endif
}

ChildResult runInChild(const std::function<std::string()>& work, const ChildLimits& limits)
{
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        applyLimits(limits);
        const std::string report = work();
        ::_exit(writeAll(pipeEnds[1], report) ? 0 : 122);
    }
    ::close(pipeEnds[1]);
    ChildResult result;
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(pipeEnds[0], buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        result.report.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(pipeEnds[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {}
    if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
    return result;
}

ScratchFolder::ScratchFolder(const fs::path& parent)
{
    const fs::path base = parent.empty() ? fs::temp_directory_path() : parent;
    std::string pattern = (base / "clockvane-reliability-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp in " + base.string());
    path_ = pattern;
    // Others may look inside: the unprivileged user of the unreadable-file case must reach
    // the files it is denied.
    fs::permissions(path_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                               fs::perms::others_read | fs::perms::others_exec);
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    ::chmod(path_.c_str(), 0700);
    for (auto it = fs::recursive_directory_iterator(path_, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
        if (!it->is_symlink(ignored)) ::chmod(it->path().c_str(), 0700);
    }
    fs::remove_all(path_, ignored);
}

std::set<std::string> namesIn(const fs::path& folder)
{
    std::set<std::string> names;
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(folder, ignored))
        names.insert(entry.path().filename().string());
    return names;
}

bool unnamedTemporariesSupported(const fs::path& folder)
{
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

bool runningAsSuperuser() { return ::geteuid() == 0; }

fs::path fastScratchParent()
{
    std::error_code ec;
    if (fs::is_directory("/dev/shm", ec) && ::access("/dev/shm", W_OK) == 0) return "/dev/shm";
    return fs::temp_directory_path();
}

void withFileSystemUser(uid_t user, const std::function<void()>& action)
{
    const auto previousUser = static_cast<uid_t>(::setfsuid(user));
    const auto previousGroup = static_cast<gid_t>(::setfsgid(user));
    action();
    ::setfsgid(previousGroup);
    ::setfsuid(previousUser);
}

}  // namespace clockvane::reliability
