// The release step against the plainest way of committing and writing the same memory:
// one anonymous mapping (huge pages where offered), every byte written, unmapped. The
// step pays for its safety (a child process, the budget read between chunks) on top.
// Both run in wall time: the step's work happens in a child the process clock never sees.
#include <benchmark/benchmark.h>
#include <sys/mman.h>

#include <cstring>

#include "platform/posix/posix_memory.h"

namespace {

uint64_t blockBytes(const benchmark::State& state) { return static_cast<uint64_t>(state.range(0)) << 20; }

void BM_PlainMmapWrite(benchmark::State& state) {
    const uint64_t size = blockBytes(state);
    for (auto _ : state) {
        void* block = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        if (block == MAP_FAILED) return state.SkipWithError("mmap refused");
        if (state.range(1)) madvise(block, size, MADV_HUGEPAGE);
        std::memset(block, ' ', size);
        benchmark::DoNotOptimize(block);
        benchmark::ClobberMemory();
        munmap(block, size);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
}
BENCHMARK(BM_PlainMmapWrite)->ArgNames({"MiB", "huge"})->Args({2048, 1})->Args({2048, 0})
    ->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

void BM_ReleaseStep(benchmark::State& state) {
    const uint64_t size = blockBytes(state);
    qm::PosixMemory memory;
    for (auto _ : state) {
        if (memory.touchBlock(size) != qm::TouchResult::Written) return state.SkipWithError("the step was refused");
        if (memory.lastTouch().bytesWritten != size) return state.SkipWithError("the step stopped at its budget");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
}
BENCHMARK(BM_ReleaseStep)->ArgName("MiB")->Arg(2048)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

}  // namespace
