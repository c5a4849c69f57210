#pragma once
// The memory totals everything is scaled by, the five amount lists ("2 MB" ... up to the
// total, at most 1000 entries), the graph scales and the two amount-list handlers.
#include <array>
#include <cstdint>
#include <string>

#include "context/subsystem_context.h"
#include "settings/settings_file.h"

namespace qm {

class ComboBox;
class ListBox;
class ListControl;
class Menu;

// Total physical and page-file memory in MB, plus one (32-bit: a 32 GB machine would
// overflow 16 bits). Measured once by initMemory; 0 until then.
struct MemoryTotals {
    int32_t physMB = 0;
    int32_t pageMB = 0;
};

class AmountLists {
public:
    static constexpr int kMaxEntries = 1000;

    AmountLists(SubsystemContext& ctx, SettingsFile& settings);

    const MemoryTotals& totals() const { return totals_; }

    // Measures the totals once, appends the KB captions and lays out both graph scales.
    void initMemory();
    // Fills the five amount lists and restores the on-demand amount.
    void loadRAM();

    void lstRam_Click();
    void lstTimeAmount_Click();

private:
    void setTotals(Trap& t, uint64_t totalPhys, uint64_t totalPage);
    void appendKB(Trap& t, ControlName<Label> label, uint64_t bytes);
    void layoutScale(Trap& t, ControlName<Label> label, ControlName<Line> line, ControlName<PictureBox> picture, int32_t totalMB);
    void addAmount(Trap& t, const std::string& entry);

    SubsystemContext& ctx_;
    SettingsFile& settings_;
    MemoryTotals totals_;
    ListBox& lstRam_;
    ComboBox& cmbStartupRam_;
    ListBox& lstTimeAmount_;
    ListBox& lstAutoAmount_;
    ComboBox& cmbAutoRelease_;
    Menu& mnuRelease_;
    // In the order entries are added to them.
    std::array<ListControl*, 5> amountLists_;
};

}  // namespace qm
