// The Linux program: the posix ports, the Qt host, the program start and the event loop.
#include <QApplication>

#include <chrono>
#include <iostream>
#include <thread>

#include "app/command_runner.h"
#include "app/language_menu.h"
#include "app/program.h"
#include "platform/posix/posix_clock.h"
#include "platform/posix/posix_cpu.h"
#include "platform/posix/posix_files.h"
#include "platform/posix/posix_internet.h"
#include "platform/posix/posix_locale.h"
#include "platform/posix/posix_memory.h"
#include "platform/posix/posix_profile.h"
#include "platform/posix/posix_program_folder.h"
#include "platform/posix/posix_program_update.h"
#include "platform/posix/posix_registry.h"
#include "platform/posix/posix_shell.h"
#include "platform/release_key.h"
#include "ui/qt/display_guard.h"
#include "ui/qt/qt_host.h"
#include "ui/qt/qt_instance.h"

namespace {

struct PosixPorts {
    qm::PosixMemory memory;
    qm::PosixCpu cpu;
    qm::PosixProfile profile;
    qm::PosixProgramFolder folder;
    qm::PosixRegistry registry{folder.folder(), qm::xdgConfigHome()};
    qm::PosixShell shell;
    qm::PosixFiles files;
    qm::PosixInternet internet;
    qm::PosixClock clock;
    qm::qt::QtInstance instance;
    qm::PosixProgramUpdate update{folder.exePath(), qm::releasePublicKey()};
    qm::PosixLocale locale;

    qm::Platform platform() {
        return {memory, cpu, profile, registry, shell, files, internet, clock, folder, instance, update, locale};
    }
};

#ifndef QM_BUILD
#define QM_BUILD "source"
#endif

qm::CommandIo consoleIo() {
    return {[](const std::string& line) { std::cout << line << std::endl; },
            [](const std::string& line) { std::cerr << "quillmere: " << line << std::endl; },
            [](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }};
}

int64_t machineMB() { return static_cast<int64_t>(qm::PosixMemory().status().totalPhys >> 20); }

// A command line is acted on before any window or display: nullopt when the window is to
// start after all (no argument, or --show with no copy running).
std::optional<int> commandLine(const std::vector<std::string>& args) {
    // Qt's own options (-platform, -style, the session manager's -session ...) have one dash.
    if (args.empty() || (args[0].size() > 1 && args[0][0] == '-' && args[0][1] != '-')) return std::nullopt;
    return qm::actOnCommandLine(args, {"quillmere", QM_BUILD ", Linux", false, machineMB()},
                                consoleIo(), [](const qm::Command& command) {
        PosixPorts ports;
        qm::Platform platform = ports.platform();
        return qm::runCommand(command, platform, consoleIo());
    });
}

}  // namespace

int main(int argc, char** argv) {
    {
        qm::PosixProgramFolder folder;
        qm::PosixProfile profile;
        qm::PosixLocale locale;
        qm::chooseProgramLanguage(folder, profile, locale);
    }
    if (const std::optional<int> status = commandLine({argv + 1, argv + argc})) return *status;
    qm::qt::DisplayGuard noDisplay;
    QApplication app(argc, argv);
    noDisplay.release();
    QApplication::setApplicationName("Quillmere");
    QGuiApplication::setDesktopFileName("quillmere");
    // The window hides to the tray; closing it is the program's own decision.
    QApplication::setQuitOnLastWindowClosed(false);

    qm::qt::QtHost host;
    QApplication::setWindowIcon(host.programIcon("quillmere"));
    PosixPorts ports;
    ports.internet.whileWaiting = [&host] { host.doEvents(); };
    qm::Platform platform = ports.platform();
    return qm::startProgram(host, platform, {ports.instance.onActivate, [] { return QApplication::exec(); }, {}});
}
