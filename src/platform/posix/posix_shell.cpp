#include "platform/posix/posix_shell.h"

#include <cerrno>
#include <cstdlib>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "base/app_error.h"
#include "base/text.h"
#include "base/trap.h"
#include "platform/posix/autostart_entry.h"
#include "platform/posix/desktop_entry.h"
#include "platform/posix/posix_atomic_file.h"
#include "platform/posix/posix_files.h"

extern char** environ;

namespace qm {

namespace {

// Desktop entries are a few KB even with every translation; programs a few dozen MB.
constexpr uint64_t kMaxDesktopEntryBytes = 1024 * 1024;
constexpr uint64_t kMaxProgramFileBytes = 1024ULL * 1024 * 1024;
// The shell only forks the program into the background and ends; the program's path and
// arguments are its positional parameters, never parsed as shell text.
constexpr const char* kDetach = "\"$0\" \"$@\" </dev/null >/dev/null 2>&1 &";

bool waitFor(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool isExecutableFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

bool inPath(const std::string& program) {
    if (program.find('/') != std::string::npos) return isExecutableFile(program);
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    size_t pos = 0;
    while (pos <= dirs.size()) {
        const size_t end = std::min(dirs.find(':', pos), dirs.size());
        const std::string dir = dirs.substr(pos, end - pos);
        if (isExecutableFile((dir.empty() ? "." : dir) + "/" + program)) return true;
        pos = end + 1;
    }
    return false;
}

// The arguments an application entry starts; none when it cannot be read or started.
std::vector<std::string> desktopLaunch(const std::string& entryPath) {
    std::optional<std::vector<std::string>> arguments;
    ignoreErrors([&] { arguments = posix::launchArguments(PosixFiles().readAll(entryPath, kMaxDesktopEntryBytes), entryPath); });
    return arguments.value_or(std::vector<std::string>{});
}

}  // namespace

bool spawnDetached(const std::vector<std::string>& arguments) {
    std::vector<std::string> all{"sh", "-c", kDetach};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (::posix_spawn(&pid, "/bin/sh", nullptr, nullptr, argv.data(), environ) != 0) return false;
    return waitFor(pid);
}

int PosixShell::shellExecute(bool, const std::string& operation, const std::string& file, const std::string&,
                             const std::string&, int) {
    if (!equalsNoCase(operation, "Open")) return 31;
    if (!inPath(opener)) return 2;
    return spawnDetached({opener, file}) ? 42 : 2;
}

// An application entry starts what its Exec line says, as the desktop would start it.
void PosixShell::startProgram(const std::string& commandLine) {
    std::vector<std::string> arguments = runValueArguments(commandLine);
    if (arguments.size() == 1 && posix::isDesktopEntryPath(arguments.front())) {
        arguments = desktopLaunch(arguments.front());
        if (arguments.empty() || !inPath(arguments.front())) raiseError(errFileNotFound);
    } else if (arguments.empty() || !isExecutableFile(arguments.front())) {
        raiseError(errFileNotFound);
    }
    if (!spawnDetached(arguments)) raiseError(errFileNotFound);
}

std::optional<std::string> PosixShell::applicationName(const std::string& path) {
    if (!posix::isDesktopEntryPath(path)) return std::nullopt;
    std::optional<posix::DesktopEntry> entry;
    ignoreErrors([&] { entry = posix::parseDesktopEntry(PosixFiles().readAll(path, kMaxDesktopEntryBytes)); });
    if (!entry || entry->type != "Application" || entry->name.empty()) return std::nullopt;
    return entry->name;
}

// The copy keeps the source's rights (a program stays executable) and replaces the target
// only when whole.
bool PosixShell::copyFileSilently(const std::string& source, const std::string& target) {
    struct stat st {};
    std::string bytes;
    try {
        bytes = PosixFiles().readAll(source, kMaxProgramFileBytes);
    } catch (const AppError&) {
        return false;
    }
    if (::stat(source.c_str(), &st) != 0) return false;
    return replaceFile(target, bytes, st.st_mode & 07777) == 0;
}

}  // namespace qm
