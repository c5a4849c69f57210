#pragma once
// One running copy per user: detecting a running instance and handing over to it.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace qm {

// The longest request line the single-instance channel takes; a longer one is refused unread.
inline constexpr size_t kLongestRequest = 64;

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

    // Whether another instance runs, looked at without becoming the running one (a command
    // line that runs no window must not keep a later window start from being the copy).
    virtual bool instanceRunning() { return previousInstanceRunning(); }

    // Sends one request line to the running instance and returns its reply line; nullopt
    // when none answered within `waitMs`. Only the same user's running instance is asked.
    virtual std::optional<std::string> askPreviousInstance(const std::string& request, int waitMs) {
        (void)request, (void)waitMs;
        return std::nullopt;
    }

    // How this instance answers a later start's request: `reply` once, now or later (a
    // release answers when its cycle ends). Set by the program while its window lives.
    using Reply = std::function<void(const std::string& line)>;
    std::function<void(const std::string& request, Reply reply)> onRequest;
    // A request refused before it was read (another user's, one too long): for the log.
    std::function<void(const std::string& why)> onRefused;
};

}  // namespace qm
