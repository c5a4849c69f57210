#include "app/remote_requests.h"

#include <cctype>

#include "base/app_error.h"
#include "memory/release_report.h"

namespace qm {

namespace {

bool wholeNumber(const std::string& text) {
    if (text.empty() || text.size() > 9) return false;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    }
    return true;
}

}  // namespace

RemoteRequests::RemoteRequests(SubsystemContext& ctx, ReleaseEngine& engine, std::function<void()> show)
    : ctx_(ctx), engine_(engine), show_(std::move(show)) {}

void RemoteRequests::refused(const std::string& why) {
    ctx_.trap(",remoteRequest")([&] { throw AppError(errInvalidCall, "Request refused: " + why); });
}

void RemoteRequests::handle(const std::string& request, Reply reply) {
    if (request == kRequestShow) {
        show_();
        return reply(kReplyShown);
    }
    const std::string release = kRequestRelease;
    if (request == release) return this->release("", std::move(reply));
    if (request.rfind(release + " ", 0) == 0) return this->release(request.substr(release.size() + 1), std::move(reply));
    refused("not understood");
    reply(std::string(kReplyRefused) + N_("not understood"));
}

void RemoteRequests::release(const std::string& amount, Reply reply) {
    if (engine_.isReleasing()) return reply(kReplyBusy);
    if (!amount.empty() && !wholeNumber(amount)) {
        refused("no amount");
        return reply(std::string(kReplyRefused) + N_("the amount is no whole number of MB"));
    }
    int32_t mb = 0;
    const bool chosen = ctx_.trap(",cmdRAM_Click")([&] {
        mb = amount.empty() ? ReleaseEngine::entryMB(ctx_.frmMain.get(mainForm::lstRam).text()) : std::stoi(amount);
    });
    if (!chosen) return reply(std::string(kReplyRefused) + N_("no amount is selected on the Release RAM page"));
    // Nothing asked for: no cycle, whose block would be all that is available.
    if (mb == 0) {
        const MemoryStatus now = ctx_.platform.memory.status();
        return reply(kReplyReleased + releaseResultText({now, now}));
    }
    waiting_.push_back(std::move(reply));
    if (!engine_.startOnDemand(mb)) cycleEnded({});
}

void RemoteRequests::cycleEnded(const ReleaseResult& result) {
    std::vector<Reply> answered;
    answered.swap(waiting_);
    for (Reply& reply : answered) reply(kReplyReleased + releaseResultText(result));
}

}  // namespace qm
