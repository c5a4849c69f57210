#pragma once
// The memory load in the tray icon: when the View menu's option is on, the icon shows the
// used share of physical memory in whole percent, in digits drawn by the core for each
// size a tray shows (so each is crisp, also at 144 DPI), redrawn only when the whole
// percent changes. Off, the classic icon stays.
#include <vector>

#include "forms/canvas.h"
#include "forms/form.h"
#include "forms/host.h"

namespace qm {

// The sizes drawn: the small icon at 96, 120 (22, and 24 for some trays) and 144 DPI, and
// the large one.
inline constexpr int kTrayPictureSizes[] = {16, 22, 24, 32, 48};
inline constexpr Color kTrayDigitColor = rgb(255, 255, 255);

// The used percent (0 to 100) in digits as large as fit `size`, on a square whose colour
// says how full the memory is.
Canvas trayLoadPicture(int usedPercent, int size);
// The digits a picture of trayLoadPicture shows, read back from its pixels; "" for none.
std::string digitsOf(const Canvas& picture);

class TrayLoad {
public:
    TrayLoad(Host& host, Form& window) : host_(host), window_(window) {}

    // The tick's available share of physical memory; the icon follows while shown.
    void availablePercent(int percent);
    // The option changed: on, the digits show at once; off, the classic icon is back.
    void show(bool on);
    bool shown() const { return on_; }

private:
    void draw();

    Host& host_;
    Form& window_;
    bool on_ = false;
    int used_ = -1;   // the tick's
    int drawn_ = -1;  // the icon's
};

}  // namespace qm
