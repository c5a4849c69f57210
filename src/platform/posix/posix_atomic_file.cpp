#include "platform/posix/posix_atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "base/text.h"
#include "platform/posix/posix_temporary_name.h"

namespace qm {
namespace {

// Closes the descriptor when the scope ends, whatever path leaves it.
struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
};


int writeWhole(int fd, const std::string& bytes, off_t at) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::pwrite(fd, bytes.data() + done, bytes.size() - done, at + static_cast<off_t>(done));
        if (put < 0 && errno == EINTR) continue;
        if (put < 0) return errno;
        if (put == 0) return EIO;
        done += static_cast<size_t>(put);
    }
    return 0;
}

bool readWhole(int fd, std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::pread(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) break;  // shrank meanwhile
        done += static_cast<size_t>(got);
    }
    bytes.resize(done);
    return true;
}

// A link (or a chain of them) is followed to the file it names, even when that file does
// not exist yet; a relative target is taken from the link's folder.
int followLinks(std::string& path) {
    for (int hops = 0; hops < 40; ++hops) {
        char target[PATH_MAX];
        const ssize_t length = ::readlink(path.c_str(), target, sizeof target - 1);
        if (length < 0) return errno == EINVAL || errno == ENOENT ? 0 : errno;
        const std::string named(target, static_cast<size_t>(length));
        path = named.front() == '/' ? named : folderOf(path) + "/" + named;
    }
    return ELOOP;
}

// The rename itself is made durable by syncing the folder that holds the entry.
void syncFolder(const std::string& folder) {
    Descriptor dir{::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (dir.fd >= 0) ::fsync(dir.fd);
}

int flushAndClose(int fd) {
    const int synced = ::fsync(fd) == 0 ? 0 : errno;
    const int closed = ::close(fd) == 0 ? 0 : errno;
    return synced ? synced : closed;
}

// The disk space is claimed before the first byte changes, so a full disk fails the update
// while the old text is still whole; file systems without the call just go ahead.
int reserve(int fd, size_t size) {
    const int error = ::posix_fallocate(fd, 0, static_cast<off_t>(size));
    return error == EOPNOTSUPP || error == EINVAL ? 0 : error;
}

int updateInPlace(const std::string& path, const std::string& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return errno;
    int error = reserve(fd, bytes.size());
    if (!error) error = writeWhole(fd, bytes, 0);
    if (!error && ::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0) error = errno;
    const int flushed = flushAndClose(fd);
    return error ? error : flushed;
}

int writeTemporary(int fd, const std::string& bytes, std::optional<mode_t> mode) {
    int error = mode && ::fchmod(fd, *mode) != 0 ? errno : 0;
    if (!error) error = writeWhole(fd, bytes, 0);
    const int flushed = flushAndClose(fd);
    return error ? error : flushed;
}

// What an existing file allows: replaced only when it is an ordinary file we may write.
int checkExisting(const std::string& path, std::optional<mode_t>& mode, bool& exists) {
    struct stat st {};
    exists = ::stat(path.c_str(), &st) == 0;
    if (!exists) return errno == ENOENT ? 0 : errno;
    if (S_ISDIR(st.st_mode)) return EISDIR;
    if (!S_ISREG(st.st_mode)) return EINVAL;
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) return errno;
    if (!mode) mode = st.st_mode & 07777;
    return 0;
}

}  // namespace

SmallFile readSmallFile(const std::string& path, size_t maxBytes) {
    // O_NONBLOCK: a FIFO at the path must not hang the program.
    Descriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
    if (file.fd < 0) return {errno == ENOENT ? ReadState::Missing : ReadState::Unreadable, {}};
    struct stat st {};
    if (::fstat(file.fd, &st) != 0 || !S_ISREG(st.st_mode) || static_cast<size_t>(st.st_size) > maxBytes)
        return {ReadState::Unreadable, {}};
    SmallFile read{ReadState::Read, std::string(static_cast<size_t>(st.st_size), '\0')};
    if (!readWhole(file.fd, read.bytes)) return {ReadState::Unreadable, {}};
    return read;
}

int replaceFile(const std::string& path, const std::string& bytes, std::optional<mode_t> mode) {
    std::string target = path;
    bool exists = false;
    int error = followLinks(target);
    if (!error) error = checkExisting(target, mode, exists);
    if (error) return error;
    std::string temporary;
    const int fd = createTemporary(target, temporary);
    if (fd < 0 && errno == EACCES && exists) return updateInPlace(target, bytes);
    if (fd < 0) return errno;
    error = writeTemporary(fd, bytes, mode);
    if (!error && ::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
    if (error) ::unlink(temporary.c_str());
    else syncFolder(folderOf(target));
    return error;
}

}  // namespace qm
