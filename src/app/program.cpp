#include "app/program.h"

#include "update/post_upgrade.h"

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

std::unique_ptr<MainWindow> runProgram(Host& host, Platform& platform, ErrorSink& log) {
    if (handedOverToRunningInstance(host, platform.instance)) return nullptr;
    if (!postUpgradeCheck(host, platform, log)) return nullptr;
    auto window = std::make_unique<MainWindow>(host, platform, log);
    host.attach(window->form());
    window->Form_Load();
    return window;
}

}  // namespace qm
