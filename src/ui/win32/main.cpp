// The Windows program: the win32 ports, the native host, the program start and the
// message loop.
#include <windows.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "app/command_runner.h"
#include "app/language_menu.h"
#include "app/program.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_cpu.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_instance.h"
#include "platform/win32/win32_internet.h"
#include "platform/win32/win32_locale.h"
#include "platform/win32/win32_memory.h"
#include "platform/win32/win32_profile.h"
#include "platform/win32/win32_program_folder.h"
#include "platform/win32/win32_program_update.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"
#include "platform/release_key.h"
#include "ui/win32/win32_host.h"

namespace {

struct Win32Ports {
    qm::Win32Memory memory;
    qm::Win32Cpu cpu;
    qm::Win32Profile profile;
    qm::Win32Registry registry;
    qm::Win32Shell shell;
    qm::Win32Files files;
    qm::Win32Internet internet;
    qm::Win32Clock clock;
    qm::Win32ProgramFolder folder;
    qm::Win32Instance instance;
    qm::Win32ProgramUpdate update{folder.exePath(), qm::releasePublicKey()};
    qm::Win32Locale locale;

    qm::Platform platform() {
        return {memory, cpu, profile, registry, shell, files, internet, clock, folder, instance, update, locale};
    }
};

#ifndef QM_BUILD
#define QM_BUILD "source"
#endif
#ifdef _WIN64
constexpr const char* kBuild = QM_BUILD ", Windows 64-bit";
#else
constexpr const char* kBuild = QM_BUILD ", Windows 32-bit";
#endif

// A program of the window subsystem has no console of its own: its output goes to where
// the standard handles were redirected, or else to the console it was started from.
HANDLE outputHandle(DWORD which) {
    const HANDLE own = GetStdHandle(which);
    if (own && own != INVALID_HANDLE_VALUE && GetFileType(own) != FILE_TYPE_UNKNOWN) return own;
    static const bool attached = AttachConsole(ATTACH_PARENT_PROCESS) != FALSE;
    if (!attached) return nullptr;
    return CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
}

void writeLine(DWORD which, const std::string& line) {
    static HANDLE handles[2] = {outputHandle(STD_OUTPUT_HANDLE), outputHandle(STD_ERROR_HANDLE)};
    const HANDLE to = handles[which == STD_ERROR_HANDLE ? 1 : 0];
    const std::string text = line + "\r\n";
    DWORD written = 0;
    if (to && to != INVALID_HANDLE_VALUE) WriteFile(to, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

qm::CommandIo consoleIo() {
    return {[](const std::string& line) { writeLine(STD_OUTPUT_HANDLE, line); },
            [](const std::string& line) { writeLine(STD_ERROR_HANDLE, "Quillmere: " + line); },
            [](int ms) { Sleep(static_cast<DWORD>(ms)); }};
}

int64_t machineMB() { return static_cast<int64_t>(qm::Win32Memory().status().totalPhys >> 20); }

// The options are also written /release, /status ...; a command line is acted on before
// any window exists: nullopt when the window is to start after all.
std::optional<int> commandLine(const std::vector<std::string>& args) {
    if (args.empty()) return std::nullopt;
    return qm::actOnCommandLine(args, {"Quillmere.exe", kBuild, true, machineMB()},
                                consoleIo(), [](const qm::Command& command) {
        Win32Ports ports;
        qm::Platform platform = ports.platform();
        return qm::runCommand(command, platform, consoleIo());
    });
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    {
        qm::Win32ProgramFolder folder;
        qm::Win32Profile profile;
        qm::Win32Locale locale;
        qm::chooseProgramLanguage(folder, profile, locale);
    }
    if (const std::optional<int> status = commandLine({__argv + 1, __argv + __argc})) return *status;
    qm::win32::Win32Host host;
    Win32Ports ports;
    ports.internet.whileWaiting = [&host] { host.doEvents(); };
    qm::Platform platform = ports.platform();
    auto ownShellPrograms = [&](qm::Form& frmMain) { ports.shell.mainWindow = host.hwndOf(frmMain); };
    return qm::startProgram(host, platform, {ports.instance.onActivate, [&host] { return host.run(); }, ownShellPrograms});
}
