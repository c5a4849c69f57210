#pragma once
// One running copy per user: detecting a running instance and handing over to it.
#include <cstdint>

namespace qm {

class InstancePort {
public:
    virtual ~InstancePort() = default;
    // True when another instance of the program is already running.
    virtual bool previousInstanceRunning() = 0;
    // Asks the running instance to show, restore and raise its main window;
    // false when it could not be found.
    virtual bool activatePreviousInstance() = 0;
    // Waits up to `ms` for a running instance to end; true when none runs any more, and
    // from then on this one is the running instance. A start that an ending program
    // handed over to (an upgrade) must not take that one for a copy to bring forward.
    virtual bool previousInstanceEnded(int32_t ms) = 0;
};

}  // namespace qm
