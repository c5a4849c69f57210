// The Linux program: the posix ports, the Qt host, the program start and the event loop.
#include <QApplication>

#include "app/program.h"
#include "platform/posix/posix_clock.h"
#include "platform/posix/posix_cpu.h"
#include "platform/posix/posix_files.h"
#include "platform/posix/posix_internet.h"
#include "platform/posix/posix_memory.h"
#include "platform/posix/posix_profile.h"
#include "platform/posix/posix_program_folder.h"
#include "platform/posix/posix_registry.h"
#include "platform/posix/posix_shell.h"
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

    qm::Platform platform() {
        return {memory, cpu, profile, registry, shell, files, internet, clock, folder, instance};
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Quillmere");
    QGuiApplication::setDesktopFileName("quillmere");
    // The window hides to the tray; closing it is the program's own decision.
    QApplication::setQuitOnLastWindowClosed(false);

    qm::qt::QtHost host;
    QApplication::setWindowIcon(host.programIcon("quillmere"));
    PosixPorts ports;
    qm::Platform platform = ports.platform();
    return qm::startProgram(host, platform, {ports.instance.onActivate, [] { return QApplication::exec(); }, {}});
}
