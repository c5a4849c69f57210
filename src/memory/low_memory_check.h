#pragma once
// The warning the automatic and timed releases share when available memory is below a
// fifth of the total, and the guard that keeps their checks from running again while
// one of its messages is open.
#include <cstdint>

#include "context/subsystem_context.h"
#include "memory/amount_lists.h"

namespace qm {

class CheckBox;

class LowMemoryCheck {
public:
    // `totals`: the amount lists' measured totals, read at each check.
    LowMemoryCheck(SubsystemContext& ctx, const MemoryTotals& totals);

    // Warnings shown so far; the question follows the third.
    int16_t warningsShown() const { return warnings_; }

    // Warns (three times), then offers to disable the warning. Raises 11 without a total.
    void lowMemoryCheck(int32_t nowMB);

    // True while a warning or the question is on screen. A window system that keeps
    // dispatching timer ticks under a modal message would otherwise start a second
    // check (and a second message) from inside the first; those ticks are skipped.
    bool messageOpen() const { return messageOpen_; }

private:
    int ask(const std::string& prompt, int style);

    SubsystemContext& ctx_;
    const MemoryTotals& totals_;
    CheckBox& chkLowLevel_;
    int16_t warnings_ = 0;
    bool messageOpen_ = false;
};

}  // namespace qm
