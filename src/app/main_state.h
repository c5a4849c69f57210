#pragma once
// The running values of the main window that more than one subsystem reads. Each
// field names its owner; only the owner writes it (the start-up sequence excepted).
#include <array>
#include <cstdint>

#include "base/datetime.h"

namespace qm {

struct MainState {
    // Shell: index 0..6 of the visible page.
    int16_t currentPage = 0;
    // Settings: set while the loaders apply stored values.
    bool isLoading = false;
    // Release engine: goal (MB) and steps of the running cycle; 32-bit so that machines
    // above 2 GB (and above 32 GB) have room.
    int32_t releaseTarget = 0;
    int32_t releaseAttempts = 0;
    // Automatic and timed release: warnings shown so far, and interval starts.
    int16_t lowMemoryWarnings = 0;
    DateTime timeIntervalStart;
    DateTime autoIntervalStart;
    // Amount lists: total physical and page-file memory in MB, plus one (32-bit: a 32 GB
    // machine would overflow 16 bits).
    int32_t totalPhysMB = 0;
    int32_t totalPageMB = 0;
    // Gauges: last percentages drawn, for repainting.
    int16_t lastPhysPercent = 0;
    int16_t lastPagePercent = 0;
    // Graphs: refresh pace, last refresh, last clamped CPU percentage, histories.
    double graphInterval = 0;
    DateTime lastGraphTime;
    int32_t lastCPU = 0;
    std::array<int16_t, 365> physHistory{};
    std::array<int16_t, 365> pageHistory{};
};

}  // namespace qm
