#include "platform/posix/posix_temporary_name.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <optional>

#include "platform/posix/posix_atomic_file.h"

namespace qm {
namespace {

constexpr const char* kMark = ".qmtmp-";
constexpr size_t kRandomChars = 6;
// Long names are cut in the temporary's name, which must still fit the 255 of a folder entry.
constexpr size_t kMaxNamePart = 200;

std::string randomPart() {
    static std::atomic<unsigned long long> counter{0};
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    unsigned long long seed = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count()) ^ (counter++ * 0x9E3779B97F4A7C15ull);
    std::string part;
    for (size_t i = 0; i < kRandomChars; ++i, seed /= 62) part += alphabet[seed % 62];
    return part;
}

bool allOf(const std::string& text, bool (*accepted)(char)) {
    for (char c : text)
        if (!accepted(c)) return false;
    return !text.empty();
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isAlnum(char c) { return isDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The writer's process id in one of our names; nothing for any other name.
std::optional<pid_t> writerOf(const std::string& name) {
    const size_t mark = name.rfind(kMark);
    if (name.size() < 2 || name[0] != '.' || mark == std::string::npos || mark < 2) return std::nullopt;
    const std::string rest = name.substr(mark + std::char_traits<char>::length(kMark));
    const size_t dash = rest.find('-');
    if (dash == std::string::npos || dash > 9 || rest.size() - dash - 1 != kRandomChars) return std::nullopt;
    if (!allOf(rest.substr(0, dash), isDigit) || !allOf(rest.substr(dash + 1), isAlnum)) return std::nullopt;
    return static_cast<pid_t>(std::stol(rest.substr(0, dash)));
}

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
    const size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + (slash == 0));
    const std::string name = target.substr(slash + 1).substr(0, kMaxNamePart);
    const std::string prefix = (folder == "/" ? "" : folder) + "/." + name + kMark + std::to_string(::getpid()) + "-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = prefix + randomPart();
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

bool isOurTemporaryName(const std::string& name) { return writerOf(name).has_value(); }

int removeStaleTemporaries(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return 0;
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::optional<pid_t> writer = writerOf(entry->d_name);
        if (!writer || isRunning(*writer) || !isOrdinaryFile(::dirfd(dir), entry->d_name)) continue;
        if (::unlinkat(::dirfd(dir), entry->d_name, 0) == 0) ++removed;
    }
    ::closedir(dir);
    return removed;
}

}  // namespace qm
