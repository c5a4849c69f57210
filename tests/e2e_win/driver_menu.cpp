// The driver's menu command: Wine keeps a menu's items in the memory of the process that
// made it, so the probe library is loaded into the program and asked there.
#include "driver_menu.h"

#include <tlhelp32.h>

#include <cstdio>
#include <string>

namespace {

// Runs `start(argument)` as a thread of the program's process; its exit code, or ~0u when
// it did not end within a few seconds.
DWORD runRemote(HANDLE process, LPTHREAD_START_ROUTINE start, void* argument) {
    HANDLE thread = CreateRemoteThread(process, nullptr, 0, start, argument, 0, nullptr);
    DWORD code = 0xFFFFFFFFu;
    if (thread && WaitForSingleObject(thread, 10000) == WAIT_OBJECT_0) GetExitCodeThread(thread, &code);
    if (thread) CloseHandle(thread);
    return code;
}

std::string probePath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of("\\/") + 1) + "qm_menu_probe.dll";
}

// Where the probe library was loaded in the program's process (its exit code would cut a
// 64-bit address short).
BYTE* remoteBase(DWORD process) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, process);
    if (snapshot == INVALID_HANDLE_VALUE) return nullptr;
    MODULEENTRY32 module{};
    module.dwSize = sizeof module;
    BYTE* base = nullptr;
    for (BOOL more = Module32First(snapshot, &module); more && !base; more = Module32Next(snapshot, &module)) {
        if (_stricmp(module.szModule, "qm_menu_probe.dll") == 0) base = module.modBaseAddr;
    }
    CloseHandle(snapshot);
    return base;
}

// The request the probe reads: the window, then each caption with its NUL, then a NUL.
std::string menuRequest(HWND main, int argc, char** argv) {
    std::string request(reinterpret_cast<const char*>(&main), sizeof main);
    for (int i = 0; i < argc; ++i) request += std::string(argv[i]) + '\0';
    return request + '\0';
}

// The probe is loaded into the program, finds the item by its caption path there, and the
// command a click on it sends is posted to the window.
DWORD menuItemId(HANDLE process, DWORD processId, const std::string& request) {
    const std::string path = probePath();
    HMODULE local = LoadLibraryA(path.c_str());
    auto* find = local ? reinterpret_cast<BYTE*>(GetProcAddress(local, "qmFindMenuItem")) : nullptr;
    void* remote = VirtualAllocEx(process, nullptr, request.size() + MAX_PATH, MEM_COMMIT, PAGE_READWRITE);
    if (!find || !remote || !WriteProcessMemory(process, remote, path.c_str(), path.size() + 1, nullptr)) return ~0u;
    FARPROC loadLibrary = GetProcAddress(GetModuleHandleA("kernel32"), "LoadLibraryA");
    auto* load = reinterpret_cast<LPTHREAD_START_ROUTINE>(reinterpret_cast<void (*)()>(loadLibrary));
    runRemote(process, load, remote);
    BYTE* base = remoteBase(processId);
    DWORD id = ~0u;
    if (base && WriteProcessMemory(process, remote, request.data(), request.size(), nullptr)) {
        auto* start = reinterpret_cast<LPTHREAD_START_ROUTINE>(base + (find - reinterpret_cast<BYTE*>(local)));
        id = runRemote(process, start, remote);
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return id;
}

}  // namespace

int chooseMenuItem(HWND main, int argc, char** argv) {
    if (argc < 1) return std::fprintf(stderr, "menu: no caption\n"), 2;
    DWORD processId = 0;
    GetWindowThreadProcessId(main, &processId);
    HANDLE process = OpenProcess(PROCESS_ALL_ACCESS, FALSE, processId);
    const DWORD id = process ? menuItemId(process, processId, menuRequest(main, argc, argv)) : ~0u;
    if (process) CloseHandle(process);
    if (id == ~0u) return std::fprintf(stderr, "no menu item \"%s\"\n", argv[argc - 1]), 1;
    return PostMessageA(main, WM_COMMAND, MAKEWPARAM(id, 0), 0) ? 0 : 1;
}

