#pragma once
// The notification-area icon (modSysTray): one icon record kept for the whole run, the
// tooltip that follows the status text while the window is hidden, and what a click on
// the icon means.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "base/trap.h"
#include "forms/form.h"
#include "forms/host.h"

namespace qm {

inline constexpr uint32_t kIconDataSize = 88;      // the record's size in its shell layout
inline constexpr uint32_t kIconFlags = 7;          // message + icon + tip
inline constexpr uint32_t kIconCallback = 512;     // the window's own mouse-move message
inline constexpr std::size_t kTipLength = 63;      // the tip field holds 64 bytes with its NUL

// The first 63 characters of a tooltip text.
std::string tipText(const std::string& text);

class SysTray {
public:
    // `mnuShow` is the main window's show command, run by a double click while hidden.
    SysTray(Host& host, Form& window, ErrorSink& log, std::function<void()> mnuShow);

    void showIcon();
    void RemoveIcon();
    void changeToolTip(const std::string& text);

    bool inTray() const { return inTray_; }
    void setInTray(bool on) { inTray_ = on; }
    const NotifyIconData& iconData() const { return iconData_; }

    // A click on the icon: a double click (or a tray's only activation) shows the hidden
    // window, the context click pops up the File menu; while the window shows, either one
    // restores and raises it. Logged under the window's Form_MouseMove label, where the
    // icon's clicks arrive on Windows.
    void trayActivated(TrayEvent event);

private:
    void fillRecord(uint32_t callbackMessage);
    void restoreAndRaise();

    Host& host_;
    Form& window_;
    ErrorSink& log_;
    std::function<void()> mnuShow_;
    NotifyIconData iconData_;
    bool inTray_ = false;
};

}  // namespace qm
