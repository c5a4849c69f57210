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
    bool instanceRunning() override { return lock_.heldElsewhere(); }
    // One request line to the running copy; its reply line without the newline.
    std::optional<std::string> askPreviousInstance(const std::string& request, int waitMs) override;

    // What the running copy does when asked (show, restore and raise the main window).
    std::function<void()> onActivate;
    bool listening() const;
    int waitMs = 3000;

private:
    void listen();
    void acceptWaiting();
    // Reads a connection's request as it arrives and answers it, then closes it; another
    // user's connection, and a request longer than the longest one, are refused unread.
    void serve(int connection);
    void answer(int connection, const std::string& line);
    void refuse(int connection, const std::string& why);

    InstanceLock lock_;
    int listener_ = -1;
    std::unique_ptr<QSocketNotifier> listening_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace qm::qt
