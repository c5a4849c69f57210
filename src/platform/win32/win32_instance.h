#pragma once
// One running copy per executable path: the first start holds a named mutex made from its
// path, and a later start finds it taken. Every instance also owns a hidden top-level
// application window of its own class, titled with the application title; through it (found
// with FindWindowA) a second start asks the first to bring its main window forward.
#include <deque>
#include <functional>
#include <string>

#include "platform/instance.h"

struct HWND__;

namespace qm {

inline constexpr const char* kAppWindowClass = "QuillmereAppWindow";
inline constexpr const char* kAppWindowTitle = "Quillmere";
inline constexpr const char* kClosingTitle = "Program already runnning - This App Will Be Closed";

class Win32Instance : public InstancePort {
public:
    Win32Instance();
    ~Win32Instance() override;
    Win32Instance(const Win32Instance&) = delete;
    Win32Instance& operator=(const Win32Instance&) = delete;

    // True when another instance of the same executable holds the instance mutex.
    bool previousInstanceRunning() override;
    // Renames this instance's application window first, so the search cannot find
    // itself, then asks the instance found to show, restore and raise its main window.
    bool activatePreviousInstance() override;
    // Asks for the mutex again until the instance holding it has gone or `ms` have passed.
    bool previousInstanceEnded(int32_t ms) override;
    // The instance mutex exists, made by a running instance; this one makes none.
    bool instanceRunning() override;
    // Hands the request to the running instance's application window (WM_COPYDATA, with a
    // window of this start's own for the answer) and waits for the answer, letting
    // messages run meanwhile. The running instance answers only a start of its own session.
    std::optional<std::string> askPreviousInstance(const std::string& request, int waitMs) override;

    // What this instance does when a later start asks it to come forward.
    std::function<void()> onActivate;
    HWND__* appWindow() const { return window_; }
    // The message a later start posts to the application window.
    static unsigned activateMessage();
    // The application window's share of a later start's request (WM_COPYDATA and the
    // request posted on from it); false for any other message.
    bool takeRequest(unsigned msg, uintptr_t wp, intptr_t lp);

private:
    struct Pending {
        HWND__* replyTo;
        std::string text;
    };
    std::deque<Pending> pending_;  // requests taken, to be handled once their message returned
    HWND__* window_ = nullptr;
    void* mutex_ = nullptr;
};

}  // namespace qm
