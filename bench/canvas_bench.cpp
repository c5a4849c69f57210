// The drawing the main window repeats every second: one history graph and one gauge.
#include "forms/canvas.h"

#include <benchmark/benchmark.h>

#include <array>

namespace {

using qm::Canvas;
using qm::rgb;

Canvas gridBackground() {
    Canvas back(365, 69);
    for (int i = 1; i <= 17; ++i) back.line(20 * i, 0, 20 * i, 69, rgb(0, 128, 0));
    for (int i = 1; i <= 6; ++i) back.line(0, 10 * i, 365, 10 * i, rgb(0, 128, 0));
    return back;
}

// A full history that wanders up and down, so segments are flat, shallow and steep.
std::array<int, 365> wanderingHistory() {
    std::array<int, 365> h{};
    for (int i = 0; i < 365; ++i) h[i] = (i * 37 + (i / 7) * 11) % 70;
    return h;
}

void BM_GraphRedraw(benchmark::State& state) {
    const Canvas back = gridBackground();
    const auto history = wanderingHistory();
    Canvas graph(365, 69);
    for (auto _ : state) {
        graph.blit(back, 0, 0);
        for (int i = 0; i < 364; ++i) graph.line(i, 69 - history[i], i + 1, 69 - history[i + 1], rgb(0, 255, 0));
        benchmark::DoNotOptimize(graph.pixels().data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_GraphRedraw);

void BM_GaugeLines(benchmark::State& state) {
    Canvas bar(233, 17, rgb(224, 224, 224));
    for (auto _ : state) {
        for (int i = 0; i <= 58; ++i) {
            const int x = 4 * (i + 1);  // every 60 twips
            bar.line(x, 17, x, 0, i < 29 ? rgb(85, 173, 247) : rgb(0, 64, 64));
        }
        benchmark::DoNotOptimize(bar.pixels().data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_GaugeLines);

}  // namespace
