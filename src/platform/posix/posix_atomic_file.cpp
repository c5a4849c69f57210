#include "platform/posix/posix_atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace qm {
namespace {

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool writeWhole(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        done += static_cast<size_t>(put);
    }
    return true;
}

int createTemp(const std::string& path, std::string& tempName, unsigned mode) {
    static std::atomic<unsigned> counter{0};
    const std::string base = path.substr(path.rfind('/') + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempName = folderOf(path) + "/." + base + "." + std::to_string(getpid()) + "." +
                   std::to_string(counter++) + ".tmp";
        const int fd = open(tempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

void syncFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

}  // namespace

std::optional<std::string> readSmallFile(const std::string& path, size_t maxBytes) {
    // O_NONBLOCK: a FIFO at the path must not hang the program.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    std::optional<std::string> text;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && static_cast<size_t>(st.st_size) <= maxBytes) {
        text.emplace(static_cast<size_t>(st.st_size), '\0');
        const ssize_t got = pread(fd, text->data(), text->size(), 0);
        if (got < 0) text.reset();
        else text->resize(static_cast<size_t>(got));
    }
    close(fd);
    return text;
}

bool replaceFileAtomically(const std::string& path, const std::string& bytes, unsigned mode) {
    std::string tempName;
    const int fd = createTemp(path, tempName, mode);
    if (fd < 0) return false;
    bool ok = writeWhole(fd, bytes) && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    ok = ok && rename(tempName.c_str(), path.c_str()) == 0;
    if (!ok) unlink(tempName.c_str());
    if (ok) syncFolder(folderOf(path));
    return ok;
}

}  // namespace qm
