#pragma once
// One running copy per user: the first start holds the lock and listens on a local socket
// beside it; a later start finds the lock taken and asks, over the socket, the running copy
// to show, restore and raise its main window.
#include <functional>
#include <memory>
#include <string>

#include "platform/instance.h"
#include "platform/posix/posix_instance_lock.h"

class QSocketNotifier;

namespace qm::qt {

inline constexpr const char* kShowRequest = "show\n";
inline constexpr const char* kShownReply = "shown\n";

class QtInstance : public InstancePort {
public:
    explicit QtInstance(std::string folder = userRuntimeFolder());
    ~QtInstance() override;

    // False for the first copy, which from then on holds the lock and listens.
    bool previousInstanceRunning() override;
    // True when the running copy answered that its window is shown.
    bool activatePreviousInstance() override;
    // True once the lock is free within `ms`; this copy then holds it and listens.
    bool previousInstanceEnded(int32_t ms) override;

    // What the running copy does when asked (show, restore and raise the main window).
    std::function<void()> onActivate;
    bool listening() const;
    int waitMs = 3000;

private:
    void listen();
    void acceptWaiting();
    // Reads a connection's request as it arrives and answers it, then closes it.
    void serve(int connection);

    InstanceLock lock_;
    int listener_ = -1;
    std::unique_ptr<QSocketNotifier> listening_;
};

}  // namespace qm::qt
