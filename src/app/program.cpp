#include "app/program.h"

#include "base/convert.h"

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
    // Read once: shown numbers keep the separator the user had when the program started.
    setUserDecimalSeparator(platform.locale.decimalSeparator());
    auto window = std::make_unique<MainWindow>(host, platform, log);
    host.attach(window->form());
    window->Form_Load();
    return window;
}

}  // namespace qm
