#pragma once
// One running copy per user: the first start holds the lock and listens on a local socket
// beside it; a later start finds the lock taken and asks, over the socket, the running copy
// to show, restore and raise its main window.
#include <QPointer>
#include <functional>

#include "platform/instance.h"
#include "platform/posix/posix_instance_lock.h"

class QLocalServer;
class QLocalSocket;

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
    void answer(QLocalSocket* socket);

    InstanceLock lock_;
    QPointer<QLocalServer> server_;
};

}  // namespace qm::qt
