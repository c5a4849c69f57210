#pragma once
// One running copy per user: detecting a running instance and handing over to it.
namespace qm {

class InstancePort {
public:
    virtual ~InstancePort() = default;
    // True when another instance of the program is already running.
    virtual bool previousInstanceRunning() = 0;
    // Asks the running instance to show, restore and raise its main window;
    // false when it could not be found.
    virtual bool activatePreviousInstance() = 0;
};

}  // namespace qm
