#include "memory/low_memory_check.h"

#include "base/app_error.h"
#include "base/convert.h"

namespace qm {

LowMemoryCheck::LowMemoryCheck(AppContext& ctx)
    : ctx_(ctx), chkLowLevel_(ctx.frmMain.get<CheckBox>("chkLowLevel")) {}

int LowMemoryCheck::ask(const std::string& prompt, int style) {
    messageOpen_ = true;
    const int answer = ctx_.message(prompt, style);
    messageOpen_ = false;
    return answer;
}

void LowMemoryCheck::lowMemoryCheck(int32_t nowMB) {
    if (ctx_.state.totalPhysMB == 0) raiseError(errDivisionByZero);
    const double percent = roundHalfEven(static_cast<double>(nowMB) / ctx_.state.totalPhysMB * 100.0);
    if (percent >= 20) return;
    MainState& state = ctx_.state;
    if (state.lowMemoryWarnings < 3) {
        ask("Warning the system has only " + numberText(percent) + " % of Total Physical Memory", vbCritical);
        ++state.lowMemoryWarnings;
        return;
    }
    if (ask("Disable the warning?", vbYesNo + vbQuestion) == vbYes) {
        chkLowLevel_.setValue(1);
        state.lowMemoryWarnings = 0;
    }
}

}  // namespace qm
