#include "platform/posix/posix_temporary_name.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <optional>

#include "platform/posix/posix_atomic_file.h"
#include "platform/temporary_name.h"

namespace qm {
namespace {

// Our own process counts as running: another of its threads may be writing right now.
bool isRunning(pid_t pid) {
    return pid == ::getpid() || ::kill(pid, 0) == 0 || errno == EPERM;
}

bool isOrdinaryFile(int folder, const char* name) {
    struct stat st {};
    return ::fstatat(folder, name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

int createTemporary(const std::string& target, std::string& temporary) {
    static std::atomic<unsigned long long> serial{0};
    const size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + (slash == 0));
    const std::string name = target.substr(slash + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = (folder == "/" ? "" : folder) + "/" + temporaryNameFor(name, static_cast<unsigned long>(::getpid()), serial++);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

bool isOurTemporaryName(const std::string& name) { return temporaryWriter(name).has_value(); }

int removeStaleTemporaries(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return 0;
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::optional<unsigned long> writer = temporaryWriter(entry->d_name);
        if (!writer || isRunning(static_cast<pid_t>(*writer)) || !isOrdinaryFile(::dirfd(dir), entry->d_name)) continue;
        if (::unlinkat(::dirfd(dir), entry->d_name, 0) == 0) ++removed;
    }
    ::closedir(dir);
    return removed;
}

}  // namespace qm
