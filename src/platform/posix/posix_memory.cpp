#include "platform/posix/posix_memory.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace qm {

namespace {

using posix::CgroupLevel;

enum ChildCode : int { kWholeBlock = 0, kUpToBudget = 1, kNoRoom = 2, kNoMapping = 3 };

using posix::ChildReport;

// Reads a small file into `buffer` without allocating (safe in the child after fork).
std::string_view readSmall(const char* path, char* buffer, size_t capacity) {
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {};
    size_t length = 0;
    for (ssize_t got = 1; got > 0 && length < capacity;) {
        got = ::read(fd, buffer + length, capacity - length);
        if (got < 0 && errno == EINTR) got = 1;
        else if (got > 0) length += static_cast<size_t>(got);
    }
    ::close(fd);
    return {buffer, length};
}

}  // namespace

// Everything the child needs to measure its budget, prepared before fork.
struct posix::BudgetProbe {
    std::string meminfoPath;
    std::vector<std::string> usagePaths;
    std::vector<CgroupLevel> levels;

    uint64_t budget() {
        char text[16384];
        const auto info = posix::parseMeminfo(readSmall(meminfoPath.c_str(), text, sizeof text));
        if (!info) return 0;
        for (size_t i = 0; i < levels.size(); ++i) {
            char number[64];
            levels[i].usage = posix::parseBytes(readSmall(usagePaths[i].c_str(), number, sizeof number))
                                  .value_or(levels[i].limit);  // unreadable usage: no headroom
        }
        return posix::safeBudget(*info, levels);
    }
};

namespace {

using posix::BudgetProbe;

uint64_t ownStatusField(const char* name) {
    char text[8192];
    return posix::kbField(readSmall("/proc/self/status", text, sizeof text), name).value_or(0);
}

// While the child holds the block it is the OOM killer's first choice.
void becomeFirstOomVictim() {
    const int fd = ::open("/proc/self/oom_score_adj", O_WRONLY | O_CLOEXEC);
    if (fd < 0) return;
    [[maybe_unused]] const ssize_t ignored = ::write(fd, "1000", 4);
    ::close(fd);
}

// Writes chunk after chunk while the budget still covers the next one.
uint64_t fillBlock(char* block, uint64_t size, BudgetProbe& probe) {
    uint64_t written = 0;
    while (written < size) {
        const uint64_t chunk = std::min(PosixMemory::kChunkBytes, size - written);
        if (written > 0 && probe.budget() < chunk) break;
        std::memset(block + written, ' ', chunk);
        asm volatile("" : : "r"(block) : "memory");  // the writes are observable: never dropped
        written += chunk;
    }
    return written;
}

struct Filled {
    char* block = nullptr;
    uint64_t size = 0;
};

// In the child: maps the block and writes it up to the safe budget; the report says how far.
Filled fillInChild(uint64_t goal, BudgetProbe& probe, ChildReport& report) {
    becomeFirstOomVictim();
    report.baselineRss = ownStatusField("VmRSS");
    const uint64_t size = std::min(goal, probe.budget());
    if (size == 0) return report.code = kNoRoom, Filled{};
    void* block = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (block == MAP_FAILED) return report.code = kNoMapping, Filled{};
#ifdef MADV_HUGEPAGE
    ::madvise(block, size, MADV_HUGEPAGE);  // several times faster where offered
#endif
    report.written = fillBlock(static_cast<char*>(block), size, probe);
    report.peakRss = ownStatusField("VmHWM");
    report.code = report.written == goal ? kWholeBlock : kUpToBudget;
    return {static_cast<char*>(block), size};
}

// Blocks until the other end of the pipe is closed: the parent let go of the block, or
// it ended.
void waitForRelease(int fd) {
    char byte;
    for (;;) {
        const ssize_t got = ::read(fd, &byte, 1);
        if (got == 0 || (got < 0 && errno != EINTR)) return;
    }
}

// The writer ends with the program that started it, however that ends (a crash, kill -9,
// the OOM killer): orphaned, it would go on writing gigabytes nobody asked for. The check
// against the parent's pid sees a parent that died before the request was made.
void endWithParent(pid_t parent) {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent) ::_exit(kNoRoom);
}

// A held block stays until the parent lets go (holdFd: the read end of that pipe, -1
// for a block that is freed at once).
[[noreturn]] void runChild(pid_t parent, int reportFd, int holdFd, uint64_t goal, BudgetProbe& probe) {
    endWithParent(parent);
    ChildReport report;
    const Filled filled = fillInChild(goal, probe, report);
    [[maybe_unused]] const ssize_t ignored = ::write(reportFd, &report, sizeof report);
    if (filled.block && holdFd >= 0) waitForRelease(holdFd);
    if (filled.block) ::munmap(filled.block, filled.size);
    ::_exit(report.code);
}

ChildReport readReport(int fd) {
    ChildReport report;
    size_t got = 0;
    auto* bytes = reinterpret_cast<char*>(&report);
    while (got < sizeof report) {
        const ssize_t n = ::read(fd, bytes + got, sizeof report - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return ChildReport{};
        got += static_cast<size_t>(n);
    }
    return report;
}

// The child's end: its exit status when it can be had (a program ignoring SIGCHLD has
// its children reaped for it; then the report alone tells).
void waitForChild(pid_t pid, TouchReport& touch, int reportedCode) {
    int status = 0;
    pid_t done;
    do done = ::waitpid(pid, &status, 0);
    while (done < 0 && errno == EINTR);
    if (done < 0) touch.exitCode = reportedCode;
    else if (WIFEXITED(status)) touch.exitCode = WEXITSTATUS(status);
    else if (WIFSIGNALED(status)) touch.signal = WTERMSIG(status);
}

}  // namespace

PosixMemory::PosixMemory(std::string procRoot, std::string cgroupRoot)
    : procRoot_(std::move(procRoot)),
      cgroupRoot_(std::move(cgroupRoot)),
      meminfo_(procRoot_ + "/meminfo"),
      membership_(procRoot_ + "/self/cgroup") {}

void PosixMemory::addLevels(const std::string& mount, const std::string& path, const char* limitName,
                            const char* usageName) {
    for (const std::string& dir : posix::cgroupDirs(mount, path)) {
        Level level{posix::KeptFile(dir + "/" + limitName), posix::KeptFile(dir + "/" + usageName)};
        if (level.limit.read()) levels_.push_back(std::move(level));
    }
}

// Every cgroup level above this process, in the unified hierarchy (mounted at the root,
// or at "unified" beside v1 controllers) and in the v1 memory hierarchy.
void PosixMemory::resolveLevels(std::string_view membership) {
    const posix::CgroupPaths paths = posix::parseCgroupPath(membership);
    resolvedFor_ = membership;
    resolved_ = true;
    levels_.clear();
    if (paths.unified) {
        for (const char* mount : {"", "/unified"}) {
            addLevels(cgroupRoot_ + mount, *paths.unified, "memory.max", "memory.current");
        }
    }
    if (paths.memoryV1) {
        addLevels(cgroupRoot_ + "/memory", *paths.memoryV1, "memory.limit_in_bytes", "memory.usage_in_bytes");
    }
}

// The levels that limit memory now ("max", or a limit of `boundless` and more, limits
// nothing), with their usage; unreadable usage counts as no headroom. A limit set where
// there was none shows by the next look at the membership, as a move does.
bool PosixMemory::readLevels(std::vector<std::string>* usagePaths, uint64_t boundless) {
    readings_.clear();
    if (usagePaths) usagePaths->clear();
    const bool fullRound = readingsSinceMembership_ == 0;
    bool allRead = true;
    for (Level& level : levels_) {
        if (level.bindsNothing && !fullRound) continue;
        allRead = readLevel(level, usagePaths, boundless) && allRead;
    }
    return allRead;
}

bool PosixMemory::readLevel(Level& level, std::vector<std::string>* usagePaths, uint64_t boundless) {
    const std::optional<std::string_view> limitText = level.limit.read();
    level.bindsNothing = false;
    if (!limitText) return false;
    const std::optional<uint64_t> limit = posix::parseBytes(*limitText);
    level.bindsNothing = !limit || *limit >= boundless;
    if (level.bindsNothing) return true;
    const std::optional<std::string_view> usage = level.usage.read();
    readings_.push_back({*limit, usage ? posix::parseBytes(*usage).value_or(*limit) : *limit});
    if (usagePaths) usagePaths->push_back(level.usage.path());
    return true;
}

// The levels are found again when the process moved to another group.
void PosixMemory::followMembership() {
    const std::optional<std::string_view> membership = membership_.read();
    const std::string_view now = membership.value_or(std::string_view());
    if (!resolved_ || now != resolvedFor_) resolveLevels(now);
    readingsSinceMembership_ = 0;
}

// A process moves between groups only when someone moves it, and the kernel writes the
// membership under a lock over every group, so it is looked at every few readings; and at
// once when a file of the levels went away (their group was removed).
const std::vector<CgroupLevel>& PosixMemory::currentLevels(uint64_t boundless, std::vector<std::string>* usagePaths) {
    if (!resolved_ || ++readingsSinceMembership_ >= kMembershipEvery) followMembership();
    if (!readLevels(usagePaths, boundless)) {
        resolved_ = false;
        followMembership();
        readLevels(usagePaths, boundless);
    }
    return readings_;
}

MemoryStatus PosixMemory::status() {
    const std::optional<std::string_view> text = meminfo_.read();
    const auto info = text ? posix::parseMeminfo(*text) : std::nullopt;
    if (!info) return {};
    return posix::effectiveStatus(*info, currentLevels(posix::boundlessLimit(*info)));
}

BudgetProbe PosixMemory::budgetProbe() {
    BudgetProbe probe{meminfo_.path(), {}, {}};
    followMembership();  // a block is written for the group the process is in now
    probe.levels = currentLevels(UINT64_MAX, &probe.usagePaths);  // the child reads all
    return probe;
}

// Forks the writing child, which starts at once; with `hold`, `releaseFd` gets the end of
// the pipe whose closing lets the child go. The fork is made on the caller's thread, which
// lives as long as the program: the child's end-with-parent follows the forking thread.
PosixMemory::Writer PosixMemory::startWriter(uint64_t bytes, bool hold) {
    Writer writer;
    BudgetProbe probe = budgetProbe();
    int reportPipe[2], holdPipe[2] = {-1, -1};
    if (::pipe2(reportPipe, O_CLOEXEC) != 0) return writer;
    if (hold && ::pipe2(holdPipe, O_CLOEXEC) != 0) {
        ::close(reportPipe[0]), ::close(reportPipe[1]);
        return writer;
    }
    const pid_t parent = ::getpid();
    writer.pid = ::fork();
    if (writer.pid == 0) {
        ::close(reportPipe[0]);
        if (hold) ::close(holdPipe[1]);
        runChild(parent, reportPipe[1], holdPipe[0], bytes, probe);
    }
    ::close(reportPipe[1]);
    if (hold) ::close(holdPipe[0]);
    writer.releaseFd = holdPipe[1];
    writer.reportFd = reportPipe[0];
    if (writer.pid < 0) ::close(writer.reportFd), writer.reportFd = -1;
    return writer;
}

// Waits for the child's report (and, when it frees its block at once, for its end).
void PosixMemory::Writer::collect(bool hold) {
    if (pid <= 0) return;
    report = readReport(reportFd);
    ::close(reportFd);
    reportFd = -1;
    if (!hold) waitForChild(pid, touch, report.code), reaped = true;
    else touch.exitCode = report.code;
    touch.bytesWritten = report.written;
    touch.baselineRss = report.baselineRss, touch.peakRss = report.peakRss;
}

bool PosixMemory::Writer::wrote() const { return touch.exitCode == kWholeBlock || touch.exitCode == kUpToBudget; }

// A writer nobody took (the job dropped while writing, or a held block never handed
// over) is ended and reaped.
void PosixMemory::Writer::abandon() {
    if (reportFd >= 0) ::close(reportFd), reportFd = -1;
    if (pid <= 0) {
        if (releaseFd >= 0) ::close(releaseFd), releaseFd = -1;
        return;
    }
    if (reaped) return;
    ::kill(pid, SIGKILL);
    if (releaseFd >= 0) ::close(releaseFd), releaseFd = -1;
    TouchReport ignored;
    waitForChild(pid, ignored, 0);
    pid = -1;
}

namespace {

class PosixBlockJob : public BlockJob {
public:
    PosixBlockJob(TouchReport& last, uint64_t bytes, bool hold) : last_(last), bytes_(bytes), hold_(hold) {}
    ~PosixBlockJob() override { writer_.abandon(); }
    void start(PosixMemory::Writer writer) { writer_ = writer; }
    void wait() override { writer_.collect(hold_); }
    TouchResult touched() override {
        if (bytes_ == 0) return last_ = {}, last_.exitCode = 0, TouchResult::Written;
        last_ = writer_.touch;
        return writer_.pid > 0 && writer_.wrote() ? TouchResult::Written : TouchResult::NotEnoughMemory;
    }
    // A child that wrote nothing has already ended; one that holds its block is let go by
    // the handle.
    std::unique_ptr<HeldBlock> held() override {
        last_ = writer_.touch;
        if (writer_.pid < 0) {
            if (writer_.releaseFd >= 0) ::close(writer_.releaseFd), writer_.releaseFd = -1;
            return nullptr;
        }
        std::unique_ptr<HeldBlock> block = std::make_unique<PosixHeldBlock>(writer_.pid, writer_.releaseFd);
        writer_.pid = -1, writer_.releaseFd = -1;  // the handle owns the child and its pipe now
        if (!writer_.wrote()) block.reset();
        return block;
    }

private:
    TouchReport& last_;
    uint64_t bytes_;
    bool hold_;
    PosixMemory::Writer writer_;
};

}  // namespace

std::unique_ptr<BlockJob> PosixMemory::beginBlock(uint64_t bytes, bool hold) {
    auto job = std::make_unique<PosixBlockJob>(last_, bytes, hold);
    last_ = {};
    if (bytes > 0 || hold) job->start(startWriter(bytes, hold));
    return job;
}

TouchResult PosixMemory::touchBlock(uint64_t bytes) {
    std::unique_ptr<BlockJob> job = beginBlock(bytes, false);
    job->wait();
    return job->touched();
}

std::unique_ptr<HeldBlock> PosixMemory::holdBlock(uint64_t bytes) {
    std::unique_ptr<BlockJob> job = beginBlock(bytes, true);
    job->wait();
    return job->held();
}

PosixHeldBlock::~PosixHeldBlock() {
    ::close(releaseFd_);
    ::kill(pid_, SIGKILL);  // at once, whoever else still has the pipe open
    TouchReport ignored;
    waitForChild(pid_, ignored, 0);
}

}  // namespace qm
