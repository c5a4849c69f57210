#include "platform/posix/posix_instance_lock.h"

#include <chrono>
#include <cstdlib>
#include <thread>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qm {

namespace {

bool isFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Our own folder under /tmp: created private, and only used when it is ours.
std::string privateTmpFolder() {
    const std::string folder = "/tmp/quillmere-" + std::to_string(::getuid());
    ::mkdir(folder.c_str(), 0700);
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid()) return {};
    return folder;
}

}  // namespace

std::string userRuntimeFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/' && isFolder(runtime)) return runtime;
    return privateTmpFolder();
}

InstanceLock::InstanceLock(std::string folder) : folder_(std::move(folder)) {}

InstanceLock::~InstanceLock() {
    if (fd_ >= 0) ::close(fd_);
}

bool InstanceLock::heldElsewhere() const {
    if (fd_ >= 0 || folder_.empty()) return false;
    const int fd = ::open(lockPath().c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool taken = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd);  // closing lets go of a lock this look may have had
    return taken;
}

bool InstanceLock::acquire() {
    if (fd_ >= 0) return true;
    if (folder_.empty()) return true;  // nowhere to keep a lock: run as a single copy
    const int fd = ::open(lockPath().c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return true;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

// The kernel gives no wake-up for a lock another process drops, so this polls, briefly.
bool InstanceLock::acquireWithin(int ms) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!acquire()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

}  // namespace qm
