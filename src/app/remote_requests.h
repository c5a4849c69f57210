#pragma once
// What a later start (the command line) asks the running copy, one line each:
//   "show"           the window is shown, restored and raised; reply "shown"
//   "release"        the release button's trigger with the amount its page has selected
//   "release <MB>"   the same with that amount; 0 starts no cycle and is answered at once
// A release is answered when its cycle ends ("released <what it freed>"), at once with
// "busy" while a cycle runs (which goes on untouched), or "refused <why>". Anything else
// is refused and logged; the running copy is not otherwise touched by it.
#include <functional>
#include <string>
#include <vector>

#include "context/subsystem_context.h"
#include "memory/release_engine.h"

namespace qm {

inline constexpr const char* kRequestShow = "show";
inline constexpr const char* kRequestRelease = "release";
inline constexpr const char* kReplyShown = "shown";
inline constexpr const char* kReplyReleased = "released ";
inline constexpr const char* kReplyBusy = "busy";
inline constexpr const char* kReplyRefused = "refused ";

class RemoteRequests {
public:
    using Reply = std::function<void(const std::string& line)>;

    RemoteRequests(SubsystemContext& ctx, ReleaseEngine& engine, std::function<void()> show);

    void handle(const std::string& request, Reply reply);
    // The running cycle ended: every request waiting for it is answered.
    void cycleEnded(const ReleaseResult& result);
    // A request the channel refused before it was read, logged as a malformed one is.
    void refused(const std::string& why);

private:
    void release(const std::string& amount, Reply reply);

    SubsystemContext& ctx_;
    ReleaseEngine& engine_;
    std::function<void()> show_;
    std::vector<Reply> waiting_;
};

}  // namespace qm
