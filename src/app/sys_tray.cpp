#include "app/sys_tray.h"

#include <utility>

#include "context/main_controls.h"

namespace qm {

std::string tipText(const std::string& text) { return text.substr(0, kTipLength); }

SysTray::SysTray(Host& host, Form& window, ErrorSink& log, std::function<void()> mnuShow)
    : host_(host), window_(window), log_(log), mnuShow_(std::move(mnuShow)) {}

// The fields that adding and removing both set; the tip is each caller's own.
void SysTray::fillRecord(uint32_t callbackMessage) {
    iconData_.cbSize = kIconDataSize;
    iconData_.window = &window_;
    iconData_.uID = 1;
    iconData_.uFlags = kIconFlags;
    iconData_.uCallbackMessage = callbackMessage;
    iconData_.icon = window_.iconResource();
}

void SysTray::showIcon() {
    Trap t(log_, "modSysTray,showIcon");
    t([&] { fillRecord(kIconCallback); });
    t([&] { iconData_.tip = tipText(window_.shownCaption()); });
    t([&] { host_.notifyIcon(NIM_ADD_, iconData_); });
    t([&] { inTray_ = true; });
}

void SysTray::RemoveIcon() {
    Trap t(log_, "modSysTray,RemoveIcon");
    t([&] { fillRecord(1); });  // the delete ignores the callback message
    t([&] { iconData_.tip.clear(); });
    t([&] { host_.notifyIcon(NIM_DELETE_, iconData_); });
    t([&] { inTray_ = false; });
}

// Keeps uID, uFlags, the callback message and the icon as showIcon left them.
void SysTray::changeToolTip(const std::string& text) {
    if (!inTray_) return;
    Trap t(log_, "modSysTray,changeToolTip");
    t([&] {
        iconData_.cbSize = kIconDataSize;
        iconData_.window = &window_;
    });
    t([&] { iconData_.tip = tipText(text); });
    t([&] { host_.notifyIcon(NIM_MODIFY_, iconData_); });
}

void SysTray::restoreAndRaise() {
    if (window_.windowState() == WindowState::Minimized) window_.setWindowState(WindowState::Normal);
    host_.setForeground(window_);
}

void SysTray::trayActivated(TrayEvent event) {
    const bool open = event.activation == TrayActivation::Double ||
                      (event.activation == TrayActivation::Single && event.tray == TrayKind::SingleActivationOnly);
    if (!open && event.activation != TrayActivation::Context) return;
    Trap t(log_, window_.name(), ",Form_MouseMove");
    if (window_.visible()) {
        t([&] { restoreAndRaise(); });
    } else if (open) {
        t([&] { mnuShow_(); });
    } else {
        t([&] { host_.popupMenu(window_, window_.get(mainForm::mnuFile)); });
    }
}

}  // namespace qm
