#include "platform/win32/win32_instance.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/win32_program_folder.h"

namespace qm {

namespace {

LRESULT CALLBACK appWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == Win32Instance::activateMessage()) {
        auto* self = reinterpret_cast<Win32Instance*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (self && self->onActivate) self->onActivate();
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

void registerClassOnce() {
    static const bool registered = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = appWindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kAppWindowClass;
        return RegisterClassA(&wc) != 0;
    }();
    (void)registered;
}

// One mutex per executable path: copies elsewhere are other programs. Backslashes are
// not allowed in the name below the namespace, and the name has a length limit.
std::string mutexName() {
    std::string path = Win32ProgramFolder().exePath();
    std::transform(path.begin(), path.end(), path.begin(), [](char c) {
        return c == '\\' ? '/' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    });
    std::string name = "Local\\Quillmere:" + path;
    return name.substr(0, MAX_PATH - 1);
}

}  // namespace

unsigned Win32Instance::activateMessage() {
    static const UINT message = RegisterWindowMessageA("Quillmere.ActivatePreviousInstance");
    return message;
}

// Hidden for good: a tool window that is never shown, top-level so FindWindowA sees it.
Win32Instance::Win32Instance() {
    registerClassOnce();
    window_ = CreateWindowExA(WS_EX_TOOLWINDOW, kAppWindowClass, kAppWindowTitle, WS_POPUP, 0, 0, 0, 0, nullptr,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
    if (window_) SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Win32Instance::~Win32Instance() {
    if (window_) DestroyWindow(window_);
    if (mutex_) CloseHandle(mutex_);
}

bool Win32Instance::previousInstanceRunning() {
    if (mutex_) return false;  // asked once; from then on this instance holds it
    mutex_ = CreateMutexA(nullptr, FALSE, mutexName().c_str());
    return mutex_ && GetLastError() == ERROR_ALREADY_EXISTS;
}

// The name lives while any handle to it is open, ours included, so each try lets go of
// the handle it got before the next.
bool Win32Instance::previousInstanceEnded(int32_t ms) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(ms < 0 ? 0 : ms);
    while (previousInstanceRunning()) {
        CloseHandle(mutex_);
        mutex_ = nullptr;
        if (GetTickCount64() >= deadline) return false;
        Sleep(20);
    }
    return true;
}

// Showing needs the running instance's help: only it knows its main window. It may take
// the foreground, since this instance, in front now, allows it before asking.
bool Win32Instance::activatePreviousInstance() {
    if (window_) SetWindowTextA(window_, kClosingTitle);
    HWND running = FindWindowA(kAppWindowClass, kAppWindowTitle);
    if (!running) {
        if (window_) SetWindowTextA(window_, kAppWindowTitle);
        return false;
    }
    DWORD process = 0;
    GetWindowThreadProcessId(running, &process);
    AllowSetForegroundWindow(process);
    return PostMessageA(running, activateMessage(), 0, 0) != 0;
}

}  // namespace qm
