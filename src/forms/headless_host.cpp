#include "forms/headless_host.h"

namespace qm {

HeadlessHost::HeadlessHost(DateTime start) : start_(start) {}

void HeadlessHost::attach(Form& form) {
    for (Control* c : form.controls()) {
        if (c->kind() == ControlKind::Timer) watchTimer(static_cast<Timer&>(*c));
    }
    form.subscribe([this](Control& child, Prop what) {
        if (what == Prop::ChildAdded && child.kind() == ControlKind::Timer) watchTimer(static_cast<Timer&>(child));
    });
}

// The form's timers stop counting; its listeners go with the form.
void HeadlessHost::detach(Form& form) {
    detached.push_back(form.name());
    std::erase_if(timers_, [&form](const Scheduled& slot) { return slot.timer->form() == &form; });
}

void HeadlessHost::setBusyPointer(Control& control, bool busy) {
    busyOver = busy ? control.name() : std::string();
    busyPointers.push_back(control.name() + (busy ? " on" : " off"));
}

void HeadlessHost::watchTimer(Timer& timer) {
    timers_.push_back({&timer, 0, nextOrder_++, false, false, 0});
    timer.subscribe([this](Control& c, Prop what) {
        if (what == Prop::Enabled || what == Prop::Interval) reschedule(static_cast<Timer&>(c));
    });
    reschedule(timer);
}

void HeadlessHost::reschedule(Timer& timer) {
    for (Scheduled& slot : timers_) {
        if (slot.timer != &timer) continue;
        slot.armed = timer.isEnabled() && timer.interval() > 0;
        slot.due = elapsedMs_ + timer.interval();
        ++slot.generation;
    }
}

HeadlessHost::Scheduled* HeadlessHost::nextDue(int64_t until) {
    Scheduled* best = nullptr;
    for (Scheduled& slot : timers_) {
        if (!slot.armed || slot.busy || slot.due > until) continue;
        if (!best || slot.due < best->due || (slot.due == best->due && slot.order < best->order)) best = &slot;
    }
    return best;
}

void HeadlessHost::fire(Scheduled& slot) {
    const int generation = slot.generation;
    Timer* timer = slot.timer;
    slot.busy = true;
    timer->fire();
    // The vector may have grown while the handler ran; find the slot again.
    for (Scheduled& s : timers_) {
        if (s.timer != timer) continue;
        s.busy = false;
        if (s.generation != generation || !s.armed) continue;
        s.due += timer->interval();
        if (s.due <= elapsedMs_) s.due = elapsedMs_ + timer->interval();  // no bursts after a long handler
    }
}

void HeadlessHost::advance(int64_t ms) {
    const int64_t target = elapsedMs_ + ms;
    while (Scheduled* slot = nextDue(target)) {
        if (slot->due > elapsedMs_) elapsedMs_ = slot->due;
        fire(*slot);
    }
    if (target > elapsedMs_) elapsedMs_ = target;
}

int HeadlessHost::msgBox(const std::string& prompt, int style, const std::string& title) {
    messages.push_back({prompt, style, title});
    if (onMessage) return onMessage(messages.back());
    if (!messageAnswers.empty()) {
        const int answer = messageAnswers.front();
        messageAnswers.pop_front();
        return answer;
    }
    return (style & 7) == vbYesNo ? vbNo : vbOK;
}

std::optional<std::string> HeadlessHost::showOpenDialog(Form&, const std::string& filter, int flags) {
    dialogs.push_back({filter, flags});
    if (dialogAnswers.empty()) return std::nullopt;
    std::optional<std::string> answer = dialogAnswers.front();
    dialogAnswers.pop_front();
    return answer;
}

void HeadlessHost::showModal(Form& form, Form&) {
    modalForms.push_back(form.name());
    form.show();
    if (onModal) onModal(form);
}

void HeadlessHost::runInBackground(std::function<void()> work, std::function<void()> done) {
    if (!holdBackground) return Host::runInBackground(std::move(work), std::move(done));
    held_.emplace_back(std::move(work), std::move(done));
}

bool HeadlessHost::finishBackground() {
    if (held_.empty()) return false;
    auto [work, done] = std::move(held_.front());
    held_.pop_front();
    work();
    done();
    return true;
}

// Events run first, as they would while the work goes on; then the oldest work ends.
void HeadlessHost::waitForEvents() {
    doEvents();
    finishBackground();
}

void HeadlessHost::doEvents() {
    ++doEventsCalls;
    advance(doEventsStepMs);
}

void HeadlessHost::setForeground(Form&) { ++foregroundCalls; }

void HeadlessHost::popupMenu(Form&, Menu& menu) { popups.push_back(menu.name()); }

bool HeadlessHost::notifyIcon(int message, const NotifyIconData& data) {
    trayCalls.emplace_back(message, data);
    return true;
}

}  // namespace qm
