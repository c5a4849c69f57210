#include "platform/posix/posix_files.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/app_error.h"
#include "platform/posix/posix_atomic_file.h"

namespace qm {

namespace {

[[noreturn]] void raiseFromErrno() { raiseError(fileErrorNumber(errno)); }

// Closes the descriptor when the scope ends, whatever path leaves it.
struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
};

// Creating a file can only fail "not found" when its folder is missing: that is 76.
int openOrRaise(const std::string& path, int flags) {
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0644);
    if (fd < 0 && errno == ENOENT && (flags & O_CREAT)) raiseError(errPathNotFound);
    if (fd < 0) raiseFromErrno();
    return fd;
}

}  // namespace

void PosixFiles::writeTo(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) raiseFromErrno();
        done += static_cast<size_t>(n);
    }
}

namespace {

struct stat statOrRaise(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) raiseFromErrno();
    if (!S_ISREG(st.st_mode)) raiseError(errPathFileAccess);
    return st;
}

// A device or a FIFO is no file of ours: a read of /dev/zero would never end.
struct stat ordinaryFileOrRaise(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) raiseFromErrno();
    if (!S_ISREG(st.st_mode)) raiseError(errPathFileAccess);
    return st;
}

}  // namespace

int fileErrorNumber(int errnoValue) {
    switch (errnoValue) {
        case ENOENT: return errFileNotFound;
        case ENOTDIR: return errPathNotFound;
        case EACCES:
        case EPERM:
        case EROFS: return errPermissionDenied;
        case ENOSPC:
        case EDQUOT: return errDiskFull;
        case ENAMETOOLONG: return errBadFileName;
        default: return errPathFileAccess;
    }
}

bool PosixFiles::fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// O_NONBLOCK: a FIFO at the path must not hang the program, whichever way it is opened.
std::string PosixFiles::readAll(const std::string& path, uint64_t maxBytes) {
    Descriptor file{openOrRaise(path, O_RDONLY | O_NONBLOCK)};
    if (static_cast<uint64_t>(ordinaryFileOrRaise(file.fd).st_size) > maxBytes) raiseError(errOutOfMemory);
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(file.fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) raiseFromErrno();
        if (n == 0) return bytes;
        bytes.append(buffer, static_cast<size_t>(n));
        if (bytes.size() > maxBytes) raiseError(errOutOfMemory);  // grew past its length meanwhile
    }
}

// Replaced whole: a full disk leaves the old file, never a cut one. A new file can only
// fail "not found" when its folder is missing: that is 76.
void PosixFiles::writeAll(const std::string& path, const std::string& bytes) {
    const int error = replaceFile(path, bytes);
    if (error == ENOENT) raiseError(errPathNotFound);
    if (error) raiseError(fileErrorNumber(error));
}

void PosixFiles::removeStaleTemporaries(const std::string& folder) { qm::removeStaleTemporaries(folder); }

void PosixFiles::append(const std::string& path, const std::string& bytes) {
    Descriptor file{openOrRaise(path, O_WRONLY | O_CREAT | O_APPEND | O_NONBLOCK)};
    ordinaryFileOrRaise(file.fd);
    writeTo(file.fd, bytes);
}

void PosixFiles::remove(const std::string& path) {
    statOrRaise(path);
    if (::unlink(path.c_str()) != 0) raiseFromErrno();
}

uint64_t PosixFiles::fileLength(const std::string& path) {
    return static_cast<uint64_t>(statOrRaise(path).st_size);
}

}  // namespace qm
