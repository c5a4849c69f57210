// The Windows program: the win32 ports, the native host, the program start and the
// message loop.
#include <windows.h>

#include "app/program.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_cpu.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_instance.h"
#include "platform/win32/win32_internet.h"
#include "platform/win32/win32_memory.h"
#include "platform/win32/win32_profile.h"
#include "platform/win32/win32_program_folder.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"
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

    qm::Platform platform() {
        return {memory, cpu, profile, registry, shell, files, internet, clock, folder, instance};
    }
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    qm::win32::Win32Host host;
    Win32Ports ports;
    qm::Platform platform = ports.platform();
    auto ownShellPrograms = [&](qm::Form& frmMain) { ports.shell.mainWindow = host.hwndOf(frmMain); };
    return qm::startProgram(host, platform, {ports.instance.onActivate, [&host] { return host.run(); }, ownShellPrograms});
}
