#include "ui/win32/background_work.h"

#include <thread>

namespace qm::win32 {

namespace {

constexpr const char* kClass = "QuillmereBackgroundWork";
constexpr UINT kWorkDone = WM_APP + 1;

// Runs the oldest end waiting, if any: a stray message finds none.
LRESULT CALLBACK doneProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != kWorkDone) return DefWindowProcA(hwnd, msg, wp, lp);
    auto* ends = reinterpret_cast<BackgroundWork::Ends*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    std::function<void()> done;
    if (ends) {
        std::lock_guard<std::mutex> hold(ends->lock);
        if (ends->queue.empty()) return 0;
        done = std::move(ends->queue.front());
        ends->queue.pop_front();
    }
    if (done) done();
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
    if (window_) SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(ends_.get()));
}

BackgroundWork::~BackgroundWork() {
    if (window_) DestroyWindow(window_);
}

// An end whose window went with the program's end is never run.
void BackgroundWork::run(std::function<void()> work, std::function<void()> done) {
    HWND window = window_;
    std::thread([window, ends = ends_, work = std::move(work), done = std::move(done)]() mutable {
        work();
        {
            std::lock_guard<std::mutex> hold(ends->lock);
            ends->queue.push_back(std::move(done));
        }
        PostMessageA(window, kWorkDone, 0, 0);
    }).detach();
}

}  // namespace qm::win32
