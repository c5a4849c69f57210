// How long the window goes without answering while a release step writes its block. A Qt
// event loop ticks a 1 ms timer, and the step's block is written and waited for exactly
// as the program does it (the port's block job, run off the window's thread through the
// Qt host); the longest gap between two ticks is the longest the window did not answer.
// What the step wrote (it stops at its safe budget) is then written plainly (mmap, every
// byte, munmap), the yardstick of the step's own time.
// Usage: release_stall <MiB> | largest   (largest: available memory plus 2000 MB, capped
// at the machine's total, as a step of the largest amount asks)
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <sys/mman.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "memory/release_engine.h"
#include "platform/posix/posix_memory.h"
#include "ui/qt/qt_host.h"

namespace {

constexpr uint64_t kMiB = 1024ull * 1024ull;

uint64_t blockBytes(const char* arg, qm::PosixMemory& memory) {
    if (std::string(arg) != "largest") return std::strtoull(arg, nullptr, 10) * kMiB;
    const qm::MemoryStatus status = memory.status();
    return std::min(status.availPhys + 2000 * kMiB, status.totalPhys);
}

double plainWriteMs(uint64_t bytes) {
    QElapsedTimer clock;
    clock.start();
    void* block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (block == MAP_FAILED) return -1;
    madvise(block, bytes, MADV_HUGEPAGE);
    std::memset(block, ' ', bytes);
    asm volatile("" : : "r"(block) : "memory");
    munmap(block, bytes);
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return std::fprintf(stderr, "usage: release_stall <MiB>|largest\n"), 2;
    QApplication app(argc, argv);
    qm::qt::QtHost host;
    qm::PosixMemory memory;
    const uint64_t bytes = blockBytes(argv[1], memory);

    QElapsedTimer clock;
    clock.start();
    qint64 last = 0, worst = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        worst = std::max(worst, now - last);
        last = now;
    });
    ticker.start(1);
    qint64 stepNs = 0;
    qm::TouchResult result = qm::TouchResult::NotEnoughMemory;
    const auto alive = std::make_shared<bool>(true);
    QTimer::singleShot(200, [&] {
        worst = 0;  // the loop's own start is no part of the step
        last = clock.nsecsElapsed();
        const qint64 begun = last;
        qm::runBlockJob(host, memory.beginBlock(bytes, false), alive, [&, begun](qm::BlockJob& job) {
            result = job.touched();
            stepNs = clock.nsecsElapsed() - begun;
            QTimer::singleShot(0, &app, &QCoreApplication::quit);
        });
    });
    app.exec();
    const double stallMs = static_cast<double>(worst) / 1e6;
    const double written = static_cast<double>(memory.lastTouch().bytesWritten) / kMiB;
    std::printf("block_mib=%llu written_mib=%.0f result=%s step_ms=%.0f longest_unanswered_ms=%.1f plain_ms=%.0f\n",
                static_cast<unsigned long long>(bytes / kMiB), written,
                result == qm::TouchResult::Written ? "written" : "refused", static_cast<double>(stepNs) / 1e6,
                stallMs, plainWriteMs(memory.lastTouch().bytesWritten));
    return 0;
}
