#include "ui/win32/background_work.h"

#include <memory>
#include <thread>

namespace qm::win32 {

namespace {

constexpr const char* kClass = "QuillmereBackgroundWork";
constexpr UINT kWorkDone = WM_APP + 1;

// lParam carries the end to run, which the thread handed over.
LRESULT CALLBACK doneProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != kWorkDone) return DefWindowProcA(hwnd, msg, wp, lp);
    std::unique_ptr<std::function<void()>> done(reinterpret_cast<std::function<void()>*>(lp));
    (*done)();
    return 0;
}

void registerDoneClass() {
    static const bool registered = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = doneProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kClass;
        return RegisterClassA(&wc) != 0;
    }();
    (void)registered;
}

}  // namespace

BackgroundWork::BackgroundWork() {
    registerDoneClass();
    window_ = CreateWindowExA(0, kClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr), nullptr);
}

BackgroundWork::~BackgroundWork() {
    if (window_) DestroyWindow(window_);
}

// An end that cannot be posted any more (the window went with the program's end) is dropped.
void BackgroundWork::run(std::function<void()> work, std::function<void()> done) {
    HWND window = window_;
    std::thread([window, work = std::move(work), done = std::move(done)]() mutable {
        work();
        auto posted = std::make_unique<std::function<void()>>(std::move(done));
        if (PostMessageA(window, kWorkDone, 0, reinterpret_cast<LPARAM>(posted.get()))) posted.release();
    }).detach();
}

}  // namespace qm::win32
