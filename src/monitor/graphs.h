#pragma once
// The History Graphs page and the CPU meter: the background bitmaps, the graph
// interval, the two memory histories and their graphs, and the CPU timer.
#include <array>
#include <cstdint>
#include <string>

#include "app/app_context.h"
#include "forms/picture_box.h"
#include "monitor/cpu_usage.h"

namespace qm {

inline constexpr Color kGridColor = rgb(0, 128, 0);
inline constexpr Color kLitBarColor = rgb(0, 255, 0);
inline constexpr int kHistoryLength = 365;
inline constexpr int kGraphHeight = 69;

class Graphs {
public:
    Graphs(AppContext& ctx, const CpuSamplerSlot& cpuSampler);

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
    // Draws the grid once into the file when it is missing, then loads it as background.
    void makeBackground(Trap& t, PictureBox& box, const std::string& file, void (*drawGrid)(PictureBox&));
    void loadBackground(PictureBox& box, const std::string& file);
    void drawHistory(PictureBox& box, const std::array<int16_t, kHistoryLength>& history);

    AppContext& ctx_;
    const CpuSamplerSlot& cpuSampler_;
    PictureBox& picPhysical_;
    PictureBox& picVirtual_;
    PictureBox& picCPU_;
    ComboBox& cmbUpdateGraph_;
    Timer& tmrCPU_;
};

}  // namespace qm
