#include "ui/win32/win32_host.h"

#include <commdlg.h>
#include <objbase.h>
#include <shellapi.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "base/catalogue.h"
#include "platform/win32/lazy_dll.h"
#include "ui/win32/form_window.h"
#include "ui/win32/resources.h"

namespace qm::win32 {

namespace {

// Everything the program keeps is written as it changes, so ending at once loses nothing.
void endProcessAtOnce() { ExitProcess(0); }

// Takes the messages waiting now; false once WM_QUIT came (it is posted again for the
// outer loop).
bool pumpPending() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return true;
}

}  // namespace

std::string dialogFilter(const std::string& filter) {
    std::string out = filter;
    for (char& c : out) {
        if (c == '|') c = '\0';
    }
    return out + std::string(2, '\0');
}

Win32Host::Win32Host() {
    endAction = endProcessAtOnce;
    registerWindowClasses();
}

Win32Host::~Win32Host() {
    closeWindows();
    if (trayPicture_) DestroyIcon(trayPicture_);
}

std::unique_ptr<FormWindow> Win32Host::makeWindow(Form& form) { return std::make_unique<FormWindow>(form, *this); }

void Win32Host::setBusyPointer(Control& control, bool busy) {
    FormWindow* window = control.form() ? windowOf(*control.form()) : nullptr;
    if (window) window->setBusyControl(busy ? &control : nullptr);
}

HWND Win32Host::hwndOf(const Form& form) const {
    FormWindow* window = windowOf(form);
    return window ? window->hwnd() : nullptr;
}

// The style is passed on unchanged: the classic values are the MB_ values.
int Win32Host::msgBox(const std::string& prompt, int style, const std::string& title) {
    return MessageBoxA(GetActiveWindow(), shown(prompt).c_str(), shown(title).c_str(), static_cast<UINT>(style));
}

// The classic dialog flags are the OFN_ flags (4096 = OFN_FILEMUSTEXIST).
std::optional<std::string> Win32Host::showOpenDialog(Form& owner, const std::string& filter, int flags) {
    const std::string filters = dialogFilter(shown(filter));
    std::vector<char> file(32768, '\0');
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = hwndOf(owner);
    ofn.lpstrFilter = filter.empty() ? nullptr : filters.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.Flags = static_cast<DWORD>(flags) | OFN_EXPLORER | OFN_HIDEREADONLY;
    // comdlg32 (and the print spooler it brings) is loaded by the first dialog.
    static auto* const openDialog = lazyFunction<decltype(GetOpenFileNameA)>("comdlg32.dll", "GetOpenFileNameA");
    if (!openDialog || !openDialog(&ofn)) return std::nullopt;
    return std::string(file.data());
}

// The owner takes no input while the form is up; the loop ends when the form hides.
void Win32Host::showModal(Form& form, Form& owner) {
    attach(form);
    FormWindow* window = windowOf(form);
    HWND ownerWindow = hwndOf(owner);
    if (ownerWindow) SetWindowLongPtrA(window->hwnd(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(ownerWindow));
    if (ownerWindow) EnableWindow(ownerWindow, FALSE);
    form.show();
    MSG msg;
    while (form.visible() && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (msg.message == WM_QUIT) PostQuitMessage(static_cast<int>(msg.wParam));
    if (ownerWindow) {
        EnableWindow(ownerWindow, TRUE);
        SetForegroundWindow(ownerWindow);
    }
}

void Win32Host::doEvents() { pumpPending(); }

void Win32Host::runInBackground(std::function<void()> work, std::function<void()> done) {
    background_.run(std::move(work), std::move(done));
}

void Win32Host::waitForEvents() {
    WaitMessage();
    pumpPending();
}

int Win32Host::run() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

bool TrayRecordMemo::needed(int message, const NotifyIconData& data) {
    const bool same = shown_ && data.window == last_.window && data.uID == last_.uID &&
                      data.uFlags == last_.uFlags && data.uCallbackMessage == last_.uCallbackMessage &&
                      data.icon == last_.icon && data.tip == last_.tip;
    if (message == NIM_MODIFY_ && same) return false;
    shown_ = message != NIM_DELETE_;
    last_ = data;
    return true;
}

bool Win32Host::notifyIcon(int message, const NotifyIconData& data) {
    if (tipHold_.holds(message, data, GetTickCount64())) return true;
    return sendToShell(message, data);
}

void Win32Host::showTrayMessage(Form&, const std::string& title, const std::string& text) {
    const NotifyIconData* icon = tray_.shown();
    if (!icon) return;
    NOTIFYICONDATAA nid{};
    nid.cbSize = NOTIFYICONDATAA_V2_SIZE;
    nid.hWnd = icon->window ? hwndOf(*icon->window) : nullptr;
    nid.uID = icon->uID;
    nid.uFlags = NIF_INFO;
    nid.dwInfoFlags = NIIF_INFO;
    std::strncpy(nid.szInfoTitle, title.c_str(), sizeof nid.szInfoTitle - 1);
    std::strncpy(nid.szInfo, text.c_str(), sizeof nid.szInfo - 1);
    Shell_NotifyIconA(NIM_MODIFY, &nid);
}

HICON iconOfCanvas(const Canvas& picture) {
    const int w = picture.width(), h = picture.height();
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP color = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!color) return nullptr;
    auto* out = static_cast<uint32_t*>(bits);
    for (size_t i = 0; i < picture.pixels().size(); ++i) {
        const uint32_t c = picture.pixels()[i];  // 0x00BBGGRR to 0xAARRGGBB
        out[i] = 0xFF000000u | (c & 0xFFu) << 16 | (c & 0xFF00u) | (c >> 16 & 0xFFu);
    }
    std::vector<uint8_t> opaque(static_cast<size_t>((w + 15) / 16 * 2 * h), 0);
    HBITMAP mask = CreateBitmap(w, h, 1, 1, opaque.data());
    ICONINFO icon{TRUE, 0, 0, mask, color};
    HICON made = CreateIconIndirect(&icon);
    DeleteObject(mask);
    DeleteObject(color);
    return made;
}

void Win32Host::setTrayPictures(Form&, std::vector<Canvas> pictures) {
    const int side = GetSystemMetrics(SM_CXSMICON);
    const Canvas* best = nullptr;
    for (const Canvas& picture : pictures) {
        if (!best || std::abs(picture.width() - side) < std::abs(best->width() - side)) best = &picture;
    }
    HICON previous = trayPicture_;
    trayPicture_ = best ? iconOfCanvas(*best) : nullptr;
    if (const NotifyIconData* shown = tray_.shown()) {
        NOTIFYICONDATAA nid{};
        nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
        nid.hWnd = shown->window ? hwndOf(*shown->window) : nullptr;
        nid.uID = shown->uID;
        nid.uFlags = NIF_ICON;
        nid.hIcon = trayPicture_ ? trayPicture_ : resourceIcon(shown->icon, side);
        Shell_NotifyIconA(NIM_MODIFY, &nid);
    }
    if (previous) DestroyIcon(previous);
}

void Win32Host::pointerMoved() {
    if (std::optional<NotifyIconData> held = tipHold_.pointerNear(GetTickCount64())) sendToShell(NIM_MODIFY_, *held);
}

// The record as the shell takes it; its first version is the classic 88-byte record.
bool Win32Host::sendToShell(int message, const NotifyIconData& data) {
    if (!tray_.needed(message, data)) return true;
    NOTIFYICONDATAA nid{};
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = data.window ? hwndOf(*data.window) : nullptr;
    nid.uID = data.uID;
    nid.uFlags = data.uFlags;
    nid.uCallbackMessage = data.uCallbackMessage;
    nid.hIcon = trayPicture_ ? trayPicture_ : resourceIcon(data.icon, GetSystemMetrics(SM_CXSMICON));
    std::strncpy(nid.szTip, data.tip.c_str(), sizeof nid.szTip - 1);
    return Shell_NotifyIconA(static_cast<DWORD>(message), &nid) != FALSE;
}

double Win32Host::twipsPerPixelX() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return 1440.0 / (dpi > 0 ? dpi : 96);
}

}  // namespace qm::win32
