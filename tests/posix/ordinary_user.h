#pragma once
// Rights only show for an ordinary user: root reads and writes any file. asOrdinaryUser runs
// a check in a child process that, when the tests run as root, first hands the folder over to
// "nobody" and becomes that user. The check returns what went wrong, or "" when all held.
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

namespace qm::test {

constexpr uid_t kNobody = 65534;

inline void handOver(const std::string& folder) {
    namespace fs = std::filesystem;
    (void)::lchown(folder.c_str(), kNobody, kNobody);
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        (void)::lchown(entry.path().c_str(), kNobody, kNobody);
}

inline bool becomeNobody() {
    return ::setgroups(0, nullptr) == 0 && ::setresgid(kNobody, kNobody, kNobody) == 0 &&
           ::setresuid(kNobody, kNobody, kNobody) == 0;
}

inline std::string readAllFrom(int fd) {
    std::string text;
    char chunk[512];
    for (ssize_t got; (got = ::read(fd, chunk, sizeof chunk)) > 0;) text.append(chunk, static_cast<size_t>(got));
    return text;
}

// Runs the check in a child process, so what it changes (user, environment, locale) stays
// there; returns the check's answer.
inline std::string inChildProcess(const std::function<std::string()>& check) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        const std::string failure = check();
        (void)!::write(pipeFds[1], failure.data(), failure.size());
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    const std::string failure = readAllFrom(pipeFds[0]);
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status)) return "the check's process died";
    return failure;
}

inline std::string asOrdinaryUser(const std::string& folder, const std::function<std::string()>& check) {
    const bool root = ::geteuid() == 0;
    if (root) handOver(folder);
    return inChildProcess([&] { return root && !becomeNobody() ? std::string("could not become nobody") : check(); });
}

// Collects what did not hold, for the check's answer.
inline void expectThat(std::string& failures, bool held, const std::string& what) {
    if (!held) failures += what + "\n";
}

}  // namespace qm::test
