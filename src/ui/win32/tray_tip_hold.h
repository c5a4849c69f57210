#pragma once
// The tray tip follows the window caption, which changes nearly every tick, and each change
// costs the shell a round of work (under Wine: explorer, dozens of server calls) although
// only a pointer resting on the icon shows the tip. A change of the tip alone is held while
// the pointer has not been near the icon lately; the pointer's arrival releases the newest
// tip at once, before the shell's delay for showing it is over.
#include <cstdint>
#include <optional>

#include "forms/host.h"

namespace qm::win32 {

class TrayTipHold {
public:
    using Ms = uint64_t;
    // Longer than a shown tip stays up.
    static constexpr Ms kPointerLately = 15000;

    // Whether the record waits instead of going to the shell now.
    bool holds(int message, const NotifyIconData& data, Ms now);
    // The pointer came near the icon: the held record, to send now (if any).
    std::optional<NotifyIconData> pointerNear(Ms now);

private:
    bool pointerLately(Ms now) const { return pointerAt_ && now - *pointerAt_ <= kPointerLately; }

    bool shown_ = false;
    NotifyIconData sent_;
    std::optional<NotifyIconData> held_;
    std::optional<Ms> pointerAt_;
};

}  // namespace qm::win32
