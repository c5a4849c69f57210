#include "platform/posix/posix_profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "settings/profile_text.h"

namespace qm {
namespace {

// Missing: no file yet (a write creates it). Unusable: something is there that is no
// settings file we may read or replace (a folder, a device, too large, unreadable).
enum class FileState { Missing, Readable, Unusable };

struct FileText {
    FileState state = FileState::Missing;
    std::string text;
    mode_t mode = 0;
};

bool readAll(int fd, std::string& text) {
    char chunk[65536];
    for (;;) {
        ssize_t got = read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return got == 0;
        text.append(chunk, static_cast<size_t>(got));
        if (static_cast<long long>(text.size()) > PosixProfile::kMaxFileSize) return false;
    }
}

FileText readFrom(int fd) {
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > PosixProfile::kMaxFileSize)
        return {FileState::Unusable, {}, 0};
    FileText file{FileState::Readable, {}, st.st_mode & 07777};
    if (!readAll(fd, file.text)) return {FileState::Unusable, {}, 0};
    return file;
}

FileText readProfile(const std::string& path) {
    // O_NONBLOCK: a FIFO at the path must not hang the program.
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return {errno == ENOENT ? FileState::Missing : FileState::Unusable, {}, 0};
    FileText file = readFrom(fd);
    close(fd);
    return file;
}

// A write through a symbolic link replaces the file it points to, not the link.
std::string resolvedPath(const std::string& path) {
    char resolved[PATH_MAX];
    struct stat st {};
    if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode) && realpath(path.c_str(), resolved))
        return resolved;
    return path;
}

std::string folderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool writeAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        ssize_t put = write(fd, text.data() + done, text.size() - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        done += static_cast<size_t>(put);
    }
    return true;
}

// A hidden name next to the file, so the rename stays on one file system. Mode 0666 lets
// the umask decide the rights of a new file, as for any file the program creates.
int createTemp(const std::string& path, std::string& tempName) {
    static std::atomic<unsigned> counter{0};
    std::string folder = folderOf(path);
    std::string base = path.substr(path.rfind('/') + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempName = folder + "/." + base + "." + std::to_string(getpid()) + "." +
                   std::to_string(counter++) + ".tmp";
        int fd = open(tempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// The rename itself is made durable by syncing the folder that holds the entry.
void syncFolder(const std::string& folder) {
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

bool replaceFile(const std::string& path, const std::string& text, const FileText& old) {
    std::string tempName;
    int fd = createTemp(path, tempName);
    if (fd < 0) return false;
    bool ok = writeAll(fd, text);
    if (ok && old.state == FileState::Readable) (void)fchmod(fd, old.mode);  // keep its rights
    ok = ok && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    ok = ok && rename(tempName.c_str(), path.c_str()) == 0;
    if (!ok) unlink(tempName.c_str());
    if (ok) syncFolder(folderOf(path));
    return ok;
}

}  // namespace

std::string PosixProfile::getString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue, size_t bufferSize,
                                    const std::string& path) {
    FileText file = readProfile(path);
    return profileGetString(file.text, section, key, defaultValue, bufferSize);
}

bool PosixProfile::writeString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& path) {
    std::string target = resolvedPath(path);
    FileText old = readProfile(target);
    if (old.state == FileState::Unusable) return false;  // never replace what we cannot read
    std::string text = profileWriteString(old.text, section, key, value);
    if (old.state == FileState::Readable && text == old.text) return true;
    return replaceFile(target, text, old);
}

}  // namespace qm
