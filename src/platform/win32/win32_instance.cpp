#include "platform/win32/win32_instance.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>

#include "platform/win32/win32_program_folder.h"

namespace qm {

namespace {

LRESULT CALLBACK appWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<Win32Instance*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (msg == Win32Instance::activateMessage()) {
        if (self && self->onActivate) self->onActivate();
        return 0;
    }
    if (self && self->takeRequest(msg, wp, lp)) return TRUE;
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

bool Win32Instance::instanceRunning() {
    if (mutex_) return false;
    HANDLE running = OpenMutexA(SYNCHRONIZE, FALSE, mutexName().c_str());
    if (running) CloseHandle(running);
    return running != nullptr;
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

namespace {

constexpr ULONG_PTR kRequestData = 0x514d5251;  // "QMRQ"
constexpr ULONG_PTR kReplyData = 0x514d5250;    // "QMRP"
constexpr UINT kHandleRequest = WM_APP + 7;
constexpr size_t kLongestReply = 4096;
constexpr const char* kReplyClass = "QuillmereReplyWindow";

const COPYDATASTRUCT* copyData(UINT msg, LPARAM lp, ULONG_PTR kind) {
    if (msg != WM_COPYDATA) return nullptr;
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lp);
    return data && data->dwData == kind ? data : nullptr;
}

bool sameSession(HWND window) {
    DWORD process = 0, theirs = 0, ours = 0;
    GetWindowThreadProcessId(window, &process);
    return process && ProcessIdToSessionId(process, &theirs) && ProcessIdToSessionId(GetCurrentProcessId(), &ours) &&
           theirs == ours;
}

// True when the window took the text (its WM_COPYDATA answered TRUE).
bool sendText(HWND to, HWND from, ULONG_PTR kind, const std::string& text) {
    COPYDATASTRUCT data{kind, static_cast<DWORD>(text.size()), const_cast<char*>(text.data())};
    DWORD_PTR taken = 0;
    return SendMessageTimeoutA(to, WM_COPYDATA, reinterpret_cast<WPARAM>(from), reinterpret_cast<LPARAM>(&data),
                               SMTO_ABORTIFHUNG, 5000, &taken) != 0 &&
           taken == TRUE;
}

// The answer window of a start that asks: it keeps the first answer that comes.
LRESULT CALLBACK replyWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (const COPYDATASTRUCT* data = copyData(msg, lp, kReplyData)) {
        auto* reply = reinterpret_cast<std::optional<std::string>*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (reply && !*reply && data->cbData <= kLongestReply) {
            reply->emplace(static_cast<const char*>(data->lpData), data->cbData);
        }
        return TRUE;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

HWND makeReplyWindow(std::optional<std::string>& reply) {
    static const bool registered = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = replyWindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kReplyClass;
        return RegisterClassA(&wc) != 0;
    }();
    (void)registered;
    HWND window = CreateWindowExA(0, kReplyClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr),
                                  nullptr);
    if (window) SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&reply));
    return window;
}

// Until the answer came, the time is up or the running copy ended without one.
void pumpUntil(const std::optional<std::string>& reply, ULONGLONG deadline, HANDLE running) {
    while (!reply && GetTickCount64() < deadline) {
        const DWORD wait = static_cast<DWORD>(std::min<ULONGLONG>(deadline - GetTickCount64(), 1000));
        const DWORD woke = MsgWaitForMultipleObjects(running ? 1 : 0, &running, FALSE, wait, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        if (running && woke == WAIT_OBJECT_0) return;
    }
}

}  // namespace

// The request is only taken here; it is handled once this message returns, so that the
// answer, maybe at once, never comes inside the asking start's own SendMessage.
bool Win32Instance::takeRequest(unsigned msg, uintptr_t wp, intptr_t lp) {
    if (msg == kHandleRequest) {
        if (pending_.empty()) return true;
        const Pending request = pending_.front();
        pending_.pop_front();
        HWND self = window_;
        HWND replyTo = request.replyTo;
        auto reply = [self, replyTo](const std::string& line) { sendText(replyTo, self, kReplyData, line); };
        if (onRequest) onRequest(request.text, reply);
        return true;
    }
    const COPYDATASTRUCT* data = copyData(msg, lp, kRequestData);
    if (!data) return false;
    const HWND replyTo = reinterpret_cast<HWND>(wp);
    const char* refusal = !replyTo || !sameSession(replyTo) ? "a request from another session"
                          : data->cbData > kLongestRequest   ? "a request too long"
                                                             : nullptr;
    // Refused, or with nobody to answer it, the request is not taken: the asking start hears so at once.
    if (refusal || !onRequest) {
        if (refusal && onRefused) onRefused(refusal);
        return false;
    }
    pending_.push_back({replyTo, std::string(static_cast<const char*>(data->lpData), data->cbData)});
    PostMessageA(window_, kHandleRequest, 0, 0);
    return true;
}

std::optional<std::string> Win32Instance::askPreviousInstance(const std::string& request, int waitMs) {
    if (window_) SetWindowTextA(window_, kClosingTitle);
    HWND running = FindWindowA(kAppWindowClass, kAppWindowTitle);
    if (!running) return std::nullopt;
    std::optional<std::string> reply;
    HWND replyWindow = makeReplyWindow(reply);
    if (!replyWindow) return std::nullopt;
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(waitMs < 0 ? 0 : waitMs);
    DWORD process = 0;
    GetWindowThreadProcessId(running, &process);
    HANDLE runningProcess = OpenProcess(SYNCHRONIZE, FALSE, process);
    if (sendText(running, replyWindow, kRequestData, request)) pumpUntil(reply, deadline, runningProcess);
    if (runningProcess) CloseHandle(runningProcess);
    DestroyWindow(replyWindow);
    return reply;
}

}  // namespace qm
