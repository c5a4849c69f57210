// A small test driver for the Windows program under Wine: it finds the program's main
// window on the test desktop, finds controls by their captions or entries, works them
// with window messages, and reports what it sees. One command per run; the exit code
// is 0 when the command succeeded (or the state asked about holds).
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "driver_menu.h"

namespace {

constexpr const char* kFormClass = "QuillmereForm";

std::string textOf(HWND hwnd) {
    char buffer[512] = {};
    GetWindowTextA(hwnd, buffer, sizeof buffer);
    return buffer;
}

template <class Condition>
bool waitFor(int ms, Condition condition) {
    for (int waited = 0; waited <= ms; waited += 100) {
        if (condition()) return true;
        Sleep(100);
    }
    return false;
}

struct Search {
    std::string wanted;
    HWND found = nullptr;
};

BOOL CALLBACK matchMainWindow(HWND hwnd, LPARAM lp) {
    auto* search = reinterpret_cast<Search*>(lp);
    char cls[64] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (std::strcmp(cls, kFormClass) != 0 || textOf(hwnd).rfind(search->wanted, 0) != 0) return TRUE;
    search->found = hwnd;
    return FALSE;
}

// The window the commands work on: the main window, or another form named by "on".
std::string targetTitle = "Quillmere";

HWND mainWindow() {
    Search search{targetTitle};
    EnumWindows(matchMainWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK countMainWindows(HWND hwnd, LPARAM lp) {
    Search search{targetTitle};
    matchMainWindow(hwnd, reinterpret_cast<LPARAM>(&search));
    if (search.found) ++*reinterpret_cast<int*>(lp);
    return TRUE;
}

BOOL CALLBACK matchCaption(HWND hwnd, LPARAM lp) {
    auto* search = reinterpret_cast<Search*>(lp);
    if (textOf(hwnd) != search->wanted) return TRUE;
    search->found = hwnd;
    return FALSE;
}

HWND childWithCaption(HWND main, const std::string& caption) {
    Search search{caption};
    EnumChildWindows(main, matchCaption, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct ListSearch {
    const char* cls;
    UINT findMessage;
    std::string item;
    HWND found = nullptr;
    LRESULT index = -1;
};

BOOL CALLBACK matchListItem(HWND hwnd, LPARAM lp) {
    auto* search = reinterpret_cast<ListSearch*>(lp);
    char cls[64] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (_stricmp(cls, search->cls) != 0 || !IsWindowVisible(hwnd)) return TRUE;
    const LRESULT index = SendMessageA(hwnd, search->findMessage, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(search->item.c_str()));
    if (index < 0) return TRUE;
    search->found = hwnd;
    search->index = index;
    return FALSE;
}

// Tells the control's parent, as the control itself would after a user's action.
void notifyParent(HWND control, WORD code) {
    const int id = GetDlgCtrlID(control);
    PostMessageA(GetParent(control), WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
}

BOOL CALLBACK matchTitleAnywhere(HWND hwnd, LPARAM lp) {
    auto* search = reinterpret_cast<Search*>(lp);
    if (!IsWindowVisible(hwnd) || textOf(hwnd).find(search->wanted) == std::string::npos) return TRUE;
    search->found = hwnd;
    return FALSE;
}

// Any visible top-level window of the desktop whose title holds the text (a started program).
// One line per visible top-level window with a title: a message box or a crash report
// would show here beside the main window.
BOOL CALLBACK printVisibleTitle(HWND hwnd, LPARAM) {
    const std::string title = textOf(hwnd);
    if (IsWindowVisible(hwnd) && !title.empty()) std::printf("%s\n", title.c_str());
    return TRUE;
}

bool topWindowWithTitle(const std::string& part) {
    Search search{part};
    EnumWindows(matchTitleAnywhere, reinterpret_cast<LPARAM>(&search));
    return search.found != nullptr;
}

int selectItem(HWND main, const char* cls, const std::string& item) {
    const bool list = _stricmp(cls, "LISTBOX") == 0;
    ListSearch search{cls, static_cast<UINT>(list ? LB_FINDSTRINGEXACT : CB_FINDSTRINGEXACT), item};
    EnumChildWindows(main, matchListItem, reinterpret_cast<LPARAM>(&search));
    if (!search.found) return std::fprintf(stderr, "no visible %s holds \"%s\"\n", cls, item.c_str()), 1;
    SendMessageA(search.found, list ? LB_SETCURSEL : CB_SETCURSEL, static_cast<WPARAM>(search.index), 0);
    notifyParent(search.found, list ? LBN_SELCHANGE : CBN_SELCHANGE);
    return 0;
}

// The entry that begins with `prefix` is chosen and double-clicked.
int doubleClickItem(HWND main, const std::string& prefix) {
    ListSearch search{"LISTBOX", static_cast<UINT>(LB_FINDSTRING), prefix};
    EnumChildWindows(main, matchListItem, reinterpret_cast<LPARAM>(&search));
    if (!search.found) return std::fprintf(stderr, "no visible list holds \"%s\"\n", prefix.c_str()), 1;
    SendMessageA(search.found, LB_SETCURSEL, static_cast<WPARAM>(search.index), 0);
    notifyParent(search.found, LBN_SELCHANGE);
    notifyParent(search.found, LBN_DBLCLK);
    return 0;
}

int click(HWND main, const std::string& caption) {
    HWND control = childWithCaption(main, caption);
    if (!control) return std::fprintf(stderr, "no control \"%s\"\n", caption.c_str()), 1;
    char cls[64] = {};
    GetClassNameA(control, cls, sizeof cls);
    if (_stricmp(cls, "BUTTON") == 0) PostMessageA(control, BM_CLICK, 0, 0);
    else notifyParent(control, STN_CLICKED);
    return 0;
}

struct ClassSearch {
    const char* cls;
    HWND found = nullptr;
};

BOOL CALLBACK matchClass(HWND hwnd, LPARAM lp) {
    auto* search = reinterpret_cast<ClassSearch*>(lp);
    char cls[64] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (_stricmp(cls, search->cls) != 0) return TRUE;
    search->found = hwnd;
    return FALSE;
}

HWND childOfClass(HWND main, const char* cls) {
    ClassSearch search{cls};
    EnumChildWindows(main, matchClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A block in the program's memory: a common control writes its answers to the address it
// is given in its owner's process.
struct RemoteMemory {
    HANDLE process = nullptr;
    BYTE* at = nullptr;
    RemoteMemory(HWND control, size_t size) {
        DWORD id = 0;
        GetWindowThreadProcessId(control, &id);
        process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, id);
        if (process) at = static_cast<BYTE*>(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
    }
    ~RemoteMemory() {
        if (at) VirtualFreeEx(process, at, 0, MEM_RELEASE);
        if (process) CloseHandle(process);
    }
    bool read(const BYTE* from, void* into, size_t size) { return ReadProcessMemory(process, from, into, size, nullptr); }
    bool write(const void* from, size_t size) { return WriteProcessMemory(process, at, from, size, nullptr); }
};

// The tab's rectangle is asked for in the program's memory; then the tab is clicked in its
// middle, as the mouse would.
int clickTab(HWND main, int tab) {
    HWND tabs = childOfClass(main, WC_TABCONTROLA);
    if (!tabs) return std::fprintf(stderr, "no tab strip\n"), 1;
    RemoteMemory remote(tabs, sizeof(RECT));
    RECT r{};
    const bool ok = remote.at && SendMessageA(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(tab - 1),
                                              reinterpret_cast<LPARAM>(remote.at)) &&
                    remote.read(remote.at, &r, sizeof r);
    if (!ok) return std::fprintf(stderr, "no tab %d\n", tab), 1;
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    PostMessageA(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(tabs, WM_LBUTTONUP, 0, at);
    return 0;
}

// The entries of the window's list view, one a line, as the user reads them.
int printRows(HWND main) {
    HWND list = childOfClass(main, WC_LISTVIEWA);
    if (!list) return std::fprintf(stderr, "no list view\n"), 1;
    constexpr int kTextMax = 512;
    RemoteMemory remote(list, sizeof(LVITEMA) + kTextMax);
    if (!remote.at) return 1;
    const LRESULT count = SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    for (LRESULT row = 0; row < count; ++row) {
        LVITEMA item{};
        item.pszText = reinterpret_cast<char*>(remote.at + sizeof item);
        item.cchTextMax = kTextMax;
        char text[kTextMax] = {};
        if (!remote.write(&item, sizeof item)) return 1;
        SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote.at));
        remote.read(remote.at + sizeof item, text, kTextMax - 1);
        std::printf("%s\n", text);
    }
    return 0;
}

// The text the window's status bar shows, read in the program's memory (in simple mode
// Wine answers for the simple text under part 0).
int printStatus(HWND main) {
    HWND bar = childOfClass(main, STATUSCLASSNAMEA);
    if (!bar) return std::fprintf(stderr, "no status bar\n"), 1;
    constexpr int kTextMax = 512;
    RemoteMemory remote(bar, kTextMax);
    char text[kTextMax] = {};
    const int length = LOWORD(SendMessageA(bar, SB_GETTEXTLENGTHA, 0, 0));
    if (!remote.at || length >= kTextMax) return 1;
    SendMessageA(bar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(remote.at));
    remote.read(remote.at, text, static_cast<size_t>(length));
    return std::printf("%s\n", text), 0;
}

BOOL CALLBACK matchOpenDialog(HWND hwnd, LPARAM lp) {
    char cls[64] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (std::strcmp(cls, "#32770") != 0 || !IsWindowVisible(hwnd)) return TRUE;
    *reinterpret_cast<HWND*>(lp) = hwnd;
    return FALSE;
}

BOOL CALLBACK matchEdit(HWND hwnd, LPARAM lp) {
    char cls[64] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (_stricmp(cls, "Edit") != 0 || !IsWindowVisible(hwnd)) return TRUE;
    *reinterpret_cast<HWND*>(lp) = hwnd;
    return FALSE;
}

BOOL CALLBACK matchBox(HWND hwnd, LPARAM lp) {
    auto* search = reinterpret_cast<Search*>(lp);
    char cls[64] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (std::strcmp(cls, "#32770") != 0 || !IsWindowVisible(hwnd) || textOf(hwnd) != search->wanted) return TRUE;
    search->found = hwnd;
    return FALSE;
}

// A message box with this title is answered with OK, as Enter would.
int answerBox(const std::string& title, int ms) {
    Search search{title};
    const bool shown = waitFor(ms, [&] {
        EnumWindows(matchBox, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    });
    return shown && PostMessageA(search.found, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0) ? 0 : 1;
}

// The open dialog's file name is typed and the dialog is answered with Open.
int answerOpenDialog(const std::string& path) {
    HWND dialog = nullptr, name = nullptr;
    EnumWindows(matchOpenDialog, reinterpret_cast<LPARAM>(&dialog));
    if (dialog) EnumChildWindows(dialog, matchEdit, reinterpret_cast<LPARAM>(&name));
    if (!name) return std::fprintf(stderr, "no open dialog\n"), 1;
    SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    return PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0) ? 0 : 1;
}

// The program's windows live on the test desktop, not on the driver's own; a desktop
// that is still being made is waited for.
bool useDesktop(const char* name) {
    HDESK desktop = nullptr;
    waitFor(30000, [&] { return (desktop = OpenDesktopA(name, 0, FALSE, GENERIC_ALL)) != nullptr; });
    return desktop && SetThreadDesktop(desktop);
}

int run(const std::string& command, int argc, char** argv) {
    if (command == "on" && argc >= 2) return targetTitle = argv[0], run(argv[1], argc - 2, argv + 2);
    const std::string arg = argc > 0 ? argv[0] : "";
    const int ms = argc > 1 ? std::atoi(argv[1]) : 15000;
    if (command == "wait") return waitFor(ms, [] { return mainWindow() != nullptr; }) ? 0 : 1;
    if (command == "gone") return waitFor(ms, [] { return mainWindow() == nullptr; }) ? 0 : 1;
    if (command == "top") return waitFor(ms, [&] { return topWindowWithTitle(arg); }) ? 0 : 1;
    if (command == "opendialog") {
        const bool shown = waitFor(ms, [] {
            HWND dialog = nullptr;
            EnumWindows(matchOpenDialog, reinterpret_cast<LPARAM>(&dialog));
            return dialog != nullptr;
        });
        return shown ? answerOpenDialog(arg) : 1;
    }
    if (command == "answer") return answerBox(arg, ms);
    if (command == "windows") return EnumWindows(printVisibleTitle, 0), 0;
    if (command == "count") {
        int count = 0;
        EnumWindows(countMainWindows, reinterpret_cast<LPARAM>(&count));
        return std::printf("%d\n", count), 0;
    }
    HWND main = mainWindow();
    if (!main) return std::fprintf(stderr, "no main window\n"), 2;
    if (command == "title") return std::printf("%s\n", textOf(main).c_str()), 0;
    if (command == "visible") {
        const bool wanted = arg != "0";
        return waitFor(ms, [&] { return (IsWindowVisible(main) != FALSE) == wanted; }) ? 0 : 1;
    }
    if (command == "click") return click(main, arg);
    if (command == "select") return selectItem(main, "LISTBOX", arg);
    if (command == "dblclick") return doubleClickItem(main, arg);
    if (command == "combo") return selectItem(main, "COMBOBOX", arg);
    if (command == "tab") return clickTab(main, std::atoi(arg.c_str()));
    if (command == "shown") return IsWindowVisible(childWithCaption(main, arg)) ? 0 : 1;
    if (command == "checked") {
        HWND box = childWithCaption(main, arg);
        return std::printf("%d\n", box ? static_cast<int>(SendMessageA(box, BM_GETCHECK, 0, 0)) : -1), 0;
    }
    if (command == "tray") return PostMessageA(main, WM_MOUSEMOVE, 0, std::atoi(arg.c_str())) ? 0 : 1;
    if (command == "close") return PostMessageA(main, WM_CLOSE, 0, 0) ? 0 : 1;
    if (command == "menu") return chooseMenuItem(main, argc, argv);
    if (command == "rows") return printRows(main);
    if (command == "status") return printStatus(main);
    if (command == "kill") {
        DWORD process = 0;
        GetWindowThreadProcessId(main, &process);
        HANDLE h = OpenProcess(PROCESS_TERMINATE, FALSE, process);
        return h && TerminateProcess(h, 1) ? 0 : 1;
    }
    return std::fprintf(stderr, "unknown command %s\n", command.c_str()), 2;
}

// Holds the file open without sharing for `ms`: Windows's own way to make a file unreadable.
// Needs no desktop, so it can start before the program does.
int lockFile(const char* path, int ms) {
    HANDLE h = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return 1;
    std::printf("locked\n");
    std::fflush(stdout);
    Sleep(static_cast<DWORD>(ms));
    return CloseHandle(h) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "lock") == 0) return lockFile(argv[2], std::atoi(argv[3]));
    if (argc < 3) {
        std::fprintf(stderr, "usage: qm_driver <desktop> <command> [argument] [ms]\n");
        return 2;
    }
    if (!useDesktop(argv[1])) return std::fprintf(stderr, "no desktop %s\n", argv[1]), 2;
    return run(argv[2], argc - 3, argv + 3);
}
