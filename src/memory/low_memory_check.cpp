#include "memory/low_memory_check.h"

#include "base/catalogue.h"

#include "base/app_error.h"
#include "base/convert.h"

namespace qm {

LowMemoryCheck::LowMemoryCheck(SubsystemContext& ctx, const MemoryTotals& totals)
    : ctx_(ctx), totals_(totals), chkLowLevel_(ctx.frmMain.get(mainForm::chkLowLevel)) {}

int LowMemoryCheck::ask(const std::string& prompt, int style) {
    messageOpen_ = true;
    const int answer = ctx_.message(prompt, style);
    messageOpen_ = false;
    return answer;
}

void LowMemoryCheck::lowMemoryCheck(int32_t nowMB) {
    if (totals_.physMB == 0) raiseError(errDivisionByZero);
    const double percent = roundHalfEven(static_cast<double>(nowMB) / totals_.physMB * 100.0);
    if (percent >= 20) return;
    if (warnings_ < 3) {
        ask(formatText(N_("Warning the system has only %1 % of Total Physical Memory"), {numberText(percent)}), vbCritical);
        ++warnings_;
        return;
    }
    if (ask("Disable the warning?", vbYesNo + vbQuestion) == vbYes) {
        chkLowLevel_.setValue(1);
        warnings_ = 0;
    }
}

}  // namespace qm
