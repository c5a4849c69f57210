// Loaded by the test driver into the program's process: Wine keeps a menu's items in the
// memory of the process that made it, so GetMenuStringA and GetSubMenu only see them from
// inside. The driver starts qmFindMenuItem there as a thread and reads the item id from the
// thread's exit code.
#include <windows.h>

#include <cstring>
#include <string>

namespace {

constexpr DWORD kNotFound = 0xFFFFFFFFu;

// A caption as the user reads it: the mnemonic marks are not part of it.
std::string plain(const char* caption) {
    std::string text;
    for (; *caption; ++caption) {
        if (*caption != '&') text += *caption;
    }
    return text;
}

int positionOf(HMENU menu, const char* caption) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        if (plain(text) == plain(caption)) return i;
    }
    return -1;
}

}  // namespace

// `request` holds the window handle, then the captions of the path, each ending with a NUL,
// and one more NUL. The result is the command id of the item the path ends at.
extern "C" __declspec(dllexport) DWORD WINAPI qmFindMenuItem(void* request) {
    HWND window = nullptr;
    std::memcpy(&window, request, sizeof window);
    const char* caption = static_cast<const char*>(request) + sizeof window;
    HMENU menu = GetMenu(window);
    while (menu && *caption) {
        const int position = positionOf(menu, caption);
        if (position < 0) return kNotFound;
        caption += std::strlen(caption) + 1;
        if (!*caption) return GetMenuItemID(menu, position);
        menu = GetSubMenu(menu, position);
    }
    return kNotFound;
}
