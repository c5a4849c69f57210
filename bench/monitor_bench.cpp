// The cost of the monitor's two periodic ticks: the memory tick (one sample, both
// gauges, the history shift and both graphs) and the CPU tick (sampler and meter).
#include <benchmark/benchmark.h>

#include <memory>

#include "context/subsystem_context.h"
#include "app/main_layout.h"
#include "forms/headless_host.h"
#include "monitor/gauges.h"
#include "monitor/graphs.h"
#include "support/fake_platform.h"

namespace {

using namespace qm;

// The main window's monitor over fakes, with full histories so every segment is drawn.
struct MonitorRig {
    HeadlessHost host;
    test::FakePlatform fakes;
    Platform platform = fakes.platform(host);
    Form frm{"frmMain"};
    test::RecordingSink log;
    SubsystemContext ctx{host, platform, log, frm};
    SettingsFile settings{ctx};
    MemoryTotals totals{4097, 8193};
    CpuSamplerSlot sampler;
    std::unique_ptr<Graphs> graphs;
    std::unique_ptr<Gauges> gauges;

    MonitorRig() {
        declareMainLayout(frm);
        sampler = std::make_unique<clsCPUUsage>(platform, log);
        graphs = std::make_unique<Graphs>(ctx, settings, sampler);
        gauges = std::make_unique<Gauges>(ctx, *graphs, totals, sampler, [](const std::string&) {});
        for (int i = 0; i < 365; ++i) {
            graphs->addSample(static_cast<int16_t>((i * 37) % 101), static_cast<int16_t>((i * 11) % 101));
        }
        graphs->initGraph();
        frm.get<ComboBox>("cmbUpdateGraph").setListIndex(0);  // refresh on every tick
        gauges->initProgressBar();
    }
};

void BM_MemoryTick(benchmark::State& state) {
    MonitorRig rig;
    uint64_t avail = 1000 * test::MB;
    for (auto _ : state) {
        avail = (avail * 7 + 13 * test::MB) % (4000 * test::MB);  // a new figure every tick
        rig.fakes.memory.current.availPhys = avail;
        rig.gauges->tmrMemory_Timer();
        benchmark::DoNotOptimize(rig.frm.get<PictureBox>("picVirtual").image().pixels().data());
    }
    if (!rig.log.entries.empty()) state.SkipWithError("a tick logged an error");
}
BENCHMARK(BM_MemoryTick);

void BM_CpuTick(benchmark::State& state) {
    MonitorRig rig;
    int64_t time = 0, idle = 0;
    for (auto _ : state) {
        time += 10'000'000;
        idle += 4'000'000 + (time / 10'000'000 % 7) * 500'000;
        rig.fakes.cpu.last = CpuCounters{1, idle, time};
        rig.graphs->tmrCPU_Timer();
        benchmark::DoNotOptimize(rig.frm.get<PictureBox>("picCPU").image().pixels().data());
    }
    if (!rig.log.entries.empty()) state.SkipWithError("a tick logged an error");
}
BENCHMARK(BM_CpuTick);

// One second of the running program: the headless host fires both monitor timers.
void BM_HostSecond(benchmark::State& state) {
    MonitorRig rig;
    rig.host.attach(rig.frm);
    rig.frm.get<Timer>("tmrCPU").setEnabled(true);
    rig.frm.get<Timer>("tmrMemory").setEnabled(true);
    for (auto _ : state) rig.host.advance(1000);
    state.counters["memory_samples"] = benchmark::Counter(rig.fakes.memory.statusCalls, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_HostSecond);

}  // namespace
