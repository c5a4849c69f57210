#include "ui/win32/tray_tip_hold.h"

#include <utility>

namespace qm::win32 {

namespace {

bool onlyTipDiffers(const NotifyIconData& a, const NotifyIconData& b) {
    return a.window == b.window && a.uID == b.uID && a.uFlags == b.uFlags &&
           a.uCallbackMessage == b.uCallbackMessage && a.icon == b.icon && a.tip != b.tip;
}

}  // namespace

bool TrayTipHold::holds(int message, const NotifyIconData& data, Ms now) {
    if (message == NIM_MODIFY_ && shown_ && onlyTipDiffers(data, sent_) && !pointerLately(now)) {
        held_ = data;
        return true;
    }
    held_.reset();
    shown_ = message != NIM_DELETE_;
    if (shown_) sent_ = data;
    return false;
}

std::optional<NotifyIconData> TrayTipHold::pointerNear(Ms now) {
    pointerAt_ = now;
    if (held_) sent_ = *held_;
    return std::exchange(held_, std::nullopt);
}

}  // namespace qm::win32
