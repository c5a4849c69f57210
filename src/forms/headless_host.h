#pragma once
// A host without a window system, for tests and benchmarks: a virtual clock that fires
// timers in a fixed order, and scripted answers to dialogs that record what was shown.
// The clock is a plain one here; the test support hands it to the core as its clock port.
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "forms/form.h"
#include "base/datetime.h"
#include "forms/host.h"

namespace qm {

struct ShownMessage {
    std::string prompt;
    int style = 0;
    std::string title;
};

struct ShownDialog {
    std::string filter;
    int flags = 0;
};

class HeadlessHost : public Host {
public:
    explicit HeadlessHost(DateTime start = makeDateTime(2026, 1, 5, 10, 0, 0));

    // Host
    void attach(Form& form) override;
    void detach(Form& form) override;
    void setBusyPointer(Control& control, bool busy) override;
    int msgBox(const std::string& prompt, int style, const std::string& title) override;
    std::optional<std::string> showOpenDialog(Form& owner, const std::string& filter, int flags) override;
    void showModal(Form& form, Form& owner) override;
    void doEvents() override;
    // At once, unless holdBackground keeps the work for finishBackground.
    void runInBackground(std::function<void()> work, std::function<void()> done) override;
    // Lets events run as doEvents does, then finishes the oldest held work.
    void waitForEvents() override;
    void setForeground(Form& form) override;
    void popupMenu(Form& form, Menu& menu) override;
    bool notifyIcon(int message, const NotifyIconData& data) override;
    void setTrayPictures(Form&, std::vector<Canvas> pictures) override { trayPictures = std::move(pictures); }
    void showTrayMessage(Form&, const std::string& title, const std::string& text) override {
        trayMessages.push_back(title + ": " + text);
    }
    double twipsPerPixelX() override { return 15; }
    void endProgram() override { ended = true; }
    void watchSessionEnd(Form& form) override { sessionWatched.push_back(form.name()); }

    // The virtual clock: the start moment plus the time advanced so far (and the wall
    // clock's shifts); the tick count only advances.
    DateTime now() const { return DateTime{start_.ms + elapsedMs_ + wallShiftMs_}; }
    uint32_t tickCount() const { return static_cast<uint32_t>(startTick_ + elapsedMs_); }

    // Moves the virtual clock on, firing every timer that falls due, in due order
    // (timers due at the same moment fire in the order they were declared).
    void advance(int64_t ms);
    int64_t elapsedMs() const { return elapsedMs_; }
    void setStartTick(uint32_t tick) { startTick_ = tick; }
    // Sets the wall clock forward or back (daylight saving, a user's change); ticks go on.
    void shiftWallClock(int64_t ms) { wallShiftMs_ += ms; }

    // Scripts: answers taken in order; with none left a box answers OK (or No), a
    // dialog is cancelled. `onMessage`, when set, answers instead (and may act meanwhile).
    std::deque<int> messageAnswers;
    std::function<int(const ShownMessage&)> onMessage;
    std::deque<std::optional<std::string>> dialogAnswers;
    std::function<void(Form&)> onModal;
    int doEventsStepMs = 10;
    // Background work waits, as if it were still running, until finishBackground runs it.
    bool holdBackground = false;
    // Runs the oldest held work and then its end; false when none was held.
    bool finishBackground();
    size_t backgroundHeld() const { return held_.size(); }

    // Records.
    std::vector<ShownMessage> messages;
    std::vector<ShownDialog> dialogs;
    std::vector<std::string> modalForms;
    std::vector<std::pair<int, NotifyIconData>> trayCalls;
    std::vector<std::string> popups;
    std::vector<std::string> trayMessages;  // "title: text"
    std::vector<Canvas> trayPictures;       // the tray icon's own pictures; none: the classic icon
    std::vector<std::string> sessionWatched;
    std::vector<std::string> detached;
    std::string busyOver;                  // the control showing the busy pointer, "" for none
    std::vector<std::string> busyPointers; // "lstLauncher on", "lstLauncher off", ...
    int foregroundCalls = 0;
    int doEventsCalls = 0;
    bool ended = false;

private:
    struct Scheduled {
        Timer* timer;
        int64_t due;
        int order;
        bool armed;
        bool busy;
        int generation;
    };

    void watchTimer(Timer& timer);
    void reschedule(Timer& timer);
    Scheduled* nextDue(int64_t until);
    void fire(Scheduled& slot);

    DateTime start_;
    int64_t elapsedMs_ = 0;
    uint32_t startTick_ = 1000000;
    int64_t wallShiftMs_ = 0;
    std::vector<Scheduled> timers_;
    std::deque<std::pair<std::function<void()>, std::function<void()>>> held_;
    int nextOrder_ = 0;
};

}  // namespace qm
