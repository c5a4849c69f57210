#pragma once
// Guards the making of the application object: where no display can be opened (no
// DISPLAY or WAYLAND_DISPLAY, over SSH, in a plain console) Qt ends the process with an
// abort and a core dump. Within the guard that end is one line saying what is needed and
// status 1 instead; Qt's other messages of that time are passed on once it succeeded.
#include <QtGlobal>

namespace qm::qt {

class DisplayGuard {
public:
    DisplayGuard();
    ~DisplayGuard() { release(); }
    // Ends the guard: Qt's own handler again, and the messages held meanwhile shown.
    void release();
    DisplayGuard(const DisplayGuard&) = delete;
    DisplayGuard& operator=(const DisplayGuard&) = delete;

private:
    QtMessageHandler previous_;
    bool released_ = false;
};

// The line the program ends with when it has no display.
extern const char* const kNoDisplayMessage;

}  // namespace qm::qt
