#pragma once
// The History Graphs page and the CPU meter: the background bitmaps, the graph
// interval and its refresh gate, the two memory histories and their graphs, and the CPU
// timer with the load it measured last.
#include <array>
#include <cstdint>
#include <string>

#include "context/subsystem_context.h"
#include "forms/picture_box.h"
#include "monitor/cpu_usage.h"
#include "settings/settings_file.h"

namespace qm {

inline constexpr Color kGridColor = rgb(0, 128, 0);
inline constexpr Color kLitBarColor = rgb(0, 255, 0);
inline constexpr int kHistoryLength = 365;
inline constexpr int kGraphHeight = 69;

// One value per refresh, newest at the end; -1 where there is no sample yet.
using History = std::array<int16_t, kHistoryLength>;

class Graphs {
public:
    Graphs(SubsystemContext& ctx, SettingsFile& settings, const CpuSamplerSlot& cpuSampler);

    // Both histories back to "no sample".
    void clearHistories();
    // Shifts both histories and stores a sample of the available percentages at the end
    // (100 % is the full graph height).
    void addSample(int16_t physPercent, int16_t pagePercent);
    // The memory timer's interval gate: true when this tick refreshes (and then restarts
    // the interval). The first entry, "1.5 Seconds", refreshes on every tick.
    bool refreshDue();

    const History& physHistory() const { return physHistory_; }
    const History& pageHistory() const { return pageHistory_; }
    // Seconds between two refreshes, as cmbUpdateGraph sets it; and the last refresh (local
    // time; the gate itself runs on the tick count).
    double graphInterval() const { return graphInterval_; }
    DateTime lastGraphTime() const { return lastGraphTime_; }
    // The clamped load of the CPU timer's last tick, in percent.
    const int32_t& lastCPU() const { return lastCPU_; }

    void initGraph();
    void loadGraph();
    void cmbUpdateGraph_Click();
    // Moves both histories one place toward index 0 (no error trapping).
    void shiftHistory();
    void drawGraph();
    void tmrCPU_Timer();
    void drawCPUGraph(int32_t cpu);
    void optCPU_Click(int index);

private:
    // Draws the grid and writes it into the file when the file holds no usable bitmap
    // (missing or damaged); initGraph then loads the file as the background.
    void makeBackground(Trap& t, PictureBox& box, const std::string& file, void (*drawGrid)(PictureBox&));
    // True when the file is there and reads as a bitmap; a damaged one counts as missing.
    bool holdsBitmap(const std::string& path);
    void loadBackground(PictureBox& box, const std::string& file);
    void drawHistory(PictureBox& box, const History& history);

    SubsystemContext& ctx_;
    SettingsFile& settings_;
    const CpuSamplerSlot& cpuSampler_;
    PictureBox& picPhysical_;
    PictureBox& picVirtual_;
    PictureBox& picCPU_;
    ComboBox& cmbUpdateGraph_;
    Timer& tmrCPU_;
    History physHistory_;
    History pageHistory_;
    double graphInterval_ = 0;
    DateTime lastGraphTime_;
    uint32_t lastGraphTick_ = 0;
    int32_t lastCPU_ = 0;
};

}  // namespace qm
