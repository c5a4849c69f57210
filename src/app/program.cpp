#include "app/program.h"

#include "app/error_log.h"
#include "update/post_upgrade.h"
#include "base/catalogue.h"
#include "base/convert.h"

namespace qm {

namespace {

// Long enough for an ending program to close its windows and files, short enough that a
// copy that really runs is still brought forward without a long pause.
constexpr int32_t kHandOverWaitMs = 10000;

// The upgrade starts the next program and then ends; that start must not meet the ending
// one and hand over to it, or the upgrade would stop halfway.
void awaitHandingOverInstance(Platform& platform) {
    ignoreErrors([&] {
        if (pendingUpgradeStep(platform.registry) != UpgradeStep::None) {
            platform.instance.previousInstanceEnded(kHandOverWaitMs);
        }
    });
}

// True when a running instance was found and brought forward; its errors are ignored.
bool handedOverToRunningInstance(Host& host, InstancePort& instance) {
    bool handedOver = false;
    ignoreErrors([&] { handedOver = instance.previousInstanceRunning() && instance.activatePreviousInstance(); });
    if (handedOver) host.endProgram();
    return handedOver;
}

// Said once at start: otherwise every option the user changes is lost without a word.
void warnIfFilesCannotBeKept(Host& host, ProgramFolderPort& folder) {
    bool keeps = true;
    ignoreErrors([&] { keeps = folder.keepsFiles(); });
    if (keeps) return;
    const std::string text = formatText(
        N_("Quillmere cannot write its files in %1, so the options you change will not be kept."), {folder.folder()});
    host.msgBox(text, vbOKOnly | vbExclamation, kAppTitle);
}

}  // namespace

std::unique_ptr<MainWindow> runProgram(Host& host, Platform& platform, ErrorSink& log) {
    awaitHandingOverInstance(platform);
    if (handedOverToRunningInstance(host, platform.instance)) return nullptr;
    // What an earlier run left half-written is of no use to anyone.
    ignoreErrors([&] { platform.files.removeStaleTemporaries(platform.programFolder.folder()); });
    if (!postUpgradeCheck(host, platform, log)) return nullptr;
    // Read once: shown numbers keep the separator the user had when the program started.
    setUserDecimalSeparator(platform.locale.decimalSeparator());
    warnIfFilesCannotBeKept(host, platform.programFolder);
    auto window = std::make_unique<MainWindow>(host, platform, log);
    host.attach(window->form());
    // Before the window shows: a logout or `kill` from then on ends it cleanly.
    host.watchSessionEnd(window->form());
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
    const int exitCode = start.eventLoop ? start.eventLoop() : 0;
    start.onActivate = nullptr;  // the window goes with this frame
    return exitCode;
}

}  // namespace qm
