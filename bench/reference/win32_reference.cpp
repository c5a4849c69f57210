// The yardstick of the Windows program: a bare Win32 window as a newcomer would write it,
// with a tab strip, five list boxes of 1000 entries, a tray icon and a 1 s timer.
// "--hidden" keeps the window hidden (the tray icon alone). "--read-figures" also asks for
// the memory status and the processor times at every tick, as any program must that shows
// them: the least a memory monitor's tick can cost on this toolkit.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>

namespace {

constexpr UINT kTrayMessage = WM_APP + 1;
int ticks = 0;
bool readFigures = false;

void readTheFigures() {
    MEMORYSTATUSEX memory{};
    memory.dwLength = sizeof memory;
    GlobalMemoryStatusEx(&memory);
    FILETIME idle, kernel, user;
    GetSystemTimes(&idle, &kernel, &user);
}

void addTabs(HWND tabs) {
    const char* names[] = {"Lists", "Automatic", "Time Intervals", "Launcher", "History Graphs", "Startup/Other", "About"};
    for (int i = 0; i < 7; ++i) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(names[i]);
        SendMessageA(tabs, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
}

void addLists(HWND window, HFONT font) {
    char text[16];
    for (int l = 0; l < 5; ++l) {
        HWND list = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY,
                                    12 + l * 105, 40, 100, 380, window, nullptr, GetModuleHandleA(nullptr), nullptr);
        SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        for (int i = 1; i <= 1000; ++i) {
            std::snprintf(text, sizeof text, "%d MB", 2 * i);
            SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        }
    }
}

void trayIcon(HWND window, DWORD action) {
    NOTIFYICONDATAA icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = window;
    icon.uID = 1;
    icon.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
    icon.uCallbackMessage = kTrayMessage;
    icon.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    std::strcpy(icon.szTip, "Win32 reference");
    Shell_NotifyIconA(action, &icon);
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER: {
        if (readFigures) readTheFigures();
        char title[64];
        std::snprintf(title, sizeof title, "Win32 reference %d", ++ticks);
        SetWindowTextA(window, title);
        return 0;
    }
    case WM_DESTROY:
        trayIcon(window, NIM_DELETE);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND makeWindow(HINSTANCE instance) {
    WNDCLASSA cls{};
    cls.lpfnWndProc = windowProc;
    cls.hInstance = instance;
    cls.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    cls.lpszClassName = "Win32Reference";
    RegisterClassA(&cls);
    RECT frame{0, 0, 551, 446};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    return CreateWindowA("Win32Reference", "Win32 reference", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                         frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
    readFigures = std::strstr(commandLine, "--read-figures") != nullptr;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    HWND window = makeWindow(instance);
    auto* font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    HWND tabs = CreateWindowA(WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 4, 4, 543, 438, window,
                              nullptr, instance, nullptr);
    SendMessageA(tabs, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    addTabs(tabs);
    addLists(window, font);
    trayIcon(window, NIM_ADD);
    SetTimer(window, 1, 1000, nullptr);
    if (!std::strstr(commandLine, "--hidden")) ShowWindow(window, show);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
