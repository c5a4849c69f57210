#include "app/program.h"

#include "app/error_log.h"

namespace qm {

namespace {

// True when a running instance was found and brought forward; its errors are ignored.
bool handedOverToRunningInstance(Host& host, InstancePort& instance) {
    bool handedOver = false;
    ignoreErrors([&] { handedOver = instance.previousInstanceRunning() && instance.activatePreviousInstance(); });
    if (handedOver) host.endProgram();
    return handedOver;
}

}  // namespace

// The update subsystem fills this in; until then there is no upgrade to complete.
bool postUpgradeCheck(Host&, Platform&, ErrorSink&) { return true; }

std::unique_ptr<MainWindow> runProgram(Host& host, Platform& platform, ErrorSink& log) {
    if (handedOverToRunningInstance(host, platform.instance)) return nullptr;
    if (!postUpgradeCheck(host, platform, log)) return nullptr;
    auto window = std::make_unique<MainWindow>(host, platform, log);
    host.attach(window->form());
    window->Form_Load();
    return window;
}

std::string errorLogPath(ProgramFolderPort& folder) { return folder.folder() + folder.separator() + "error"; }

int startProgram(Host& host, Platform& platform, const HostStart& start) {
    ErrorLog log(platform.files, platform.internet, host, platform.clock, errorLogPath(platform.programFolder));
    std::unique_ptr<MainWindow> window = runProgram(host, platform, log);
    if (!window) return 0;
    Form& frmMain = window->form();
    if (start.onMainWindow) start.onMainWindow(frmMain);
    start.onActivate = [&host, &frmMain] { host.showFromOutside(frmMain); };
    host.watchSessionEnd(frmMain);
    const int exitCode = start.eventLoop ? start.eventLoop() : 0;
    start.onActivate = nullptr;  // the window goes with this frame
    return exitCode;
}

}  // namespace qm
