#pragma once
// The memory gauges of the Release RAM page, the percentage labels, the window title
// and the tray tooltip, and the memory timer that refreshes them and feeds the graphs.
#include <cstdint>
#include <functional>
#include <string>

#include "context/subsystem_context.h"
#include "forms/picture_box.h"
#include "memory/amount_lists.h"
#include "monitor/cpu_usage.h"
#include "monitor/graphs.h"

namespace qm {

inline constexpr Color kGaugeFreeColor = rgb(85, 173, 247);
inline constexpr Color kGaugeUsedColor = rgb(0, 64, 64);

// Available memory of one sample of the machine, in megabytes (bytes / 1024 / 1024).
struct MemoryFigures {
    double physMB = 0;
    double pageMB = 0;
};
MemoryFigures memoryFigures(const MemoryStatus& status);

// The percentage of `mb` in `totalMB`, to a 16-bit integer (error 11, or 6 for 0 of 0,
// before the totals are known).
int16_t availablePercent(int32_t mb, int32_t totalMB);

class Gauges {
public:
    // Shows a text as the notification-area tooltip (the tray's changeToolTip).
    using ToolTipSink = std::function<void(const std::string&)>;

    // `totals`: the amount lists' measured totals, the base of every percentage.
    Gauges(SubsystemContext& ctx, Graphs& graphs, const MemoryTotals& totals, const CpuSamplerSlot& cpuSampler,
           ToolTipSink changeToolTip);

    // The percentages drawn last, for repainting.
    int16_t lastPhysPercent() const { return lastPhysPercent_; }
    // Told each tick's available share of physical memory, in whole percent.
    std::function<void(int16_t percent)> onPhysicalPercent;
    int16_t lastPagePercent() const { return lastPagePercent_; }

    void initProgressBar();
    void drawProgressBar(int16_t physPercent, int16_t pagePercent);
    void tmrMemory_Timer();

    void picPProgress_Paint();
    void picVProgress_Paint();
    void picPhysical_Paint();
    void picVirtual_Paint();
    void picCPU_Paint();

private:
    struct Percents {
        int16_t phys = 0;
        int16_t page = 0;
    };
    // Percentages, their labels, the bars and the values kept for repainting.
    Percents showPercents(Trap& t, int32_t physMB, int32_t pageMB);
    void storeSample(Trap& t, Percents percents);
    void drawBar(PictureBox& bar, int16_t percent);

    SubsystemContext& ctx_;
    Graphs& graphs_;
    const MemoryTotals& totals_;
    const CpuSamplerSlot& cpuSampler_;
    ToolTipSink changeToolTip_;
    PictureBox& picPProgress_;
    PictureBox& picVProgress_;
    int16_t lastPhysPercent_ = 0;
    int16_t lastPagePercent_ = 0;
};

}  // namespace qm
