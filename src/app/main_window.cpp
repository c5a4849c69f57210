#include "app/main_window.h"

#include "app/main_layout.h"
#include "app/web_links.h"
#include "memory/startup_release.h"
#include "update/reg_strings.h"

namespace qm {

Subsystems::Subsystems(SubsystemContext& ctx, const CpuSamplerSlot& cpuSampler, SysTray& tray,
                       std::function<void()> loadMenu)
    : settings(ctx),
      registry(ctx, settings),
      startupPage(ctx, settings),
      engine(ctx),
      view(ctx, settings),
      languages(ctx, settings),
      amounts(ctx, settings),
      graphs(ctx, settings, cpuSampler),
      lowMemory(ctx, amounts.totals()),
      autoRelease(ctx, engine, lowMemory, graphs.lastCPU()),
      autoPage(ctx, settings, autoRelease),
      timedRelease(ctx, engine, lowMemory, graphs.lastCPU()),
      timePage(ctx, settings, timedRelease),
      launcherPage(ctx, settings),
      launcher(ctx, amounts.totals(), std::move(loadMenu)),
      gauges(ctx, graphs, amounts.totals(), cpuSampler,
             [&tray](const std::string& text) { tray.changeToolTip(text); }) {}

namespace {

Platform withMemory(const Platform& p, MemoryPort& memory) {
    return {memory,   p.cpu,   p.profile,       p.registry, p.shell,  p.files,
            p.internet, p.clock, p.programFolder, p.instance, p.update, p.locale};
}

}  // namespace

MainWindow::MainWindow(Host& host, Platform& platform, ErrorSink& log)
    : host_(host),
      log_(log),
      tickMemory_(platform.memory, platform.clock),
      platform_(withMemory(platform, tickMemory_)),
      ctx_{host, platform_, log, frmMain_},
      tray_(host, frmMain_, log, [this] { mnuShow_Click(); }) {
    declareMainLayout(frmMain_);
    parts_ = std::make_unique<Subsystems>(ctx_, cpuSampler_, tray_, [this] { loadMenu(); });
    attachAboutLinks(frmMain_, platform_.shell);
    wireHandlers();
    wireRequestsAndResults();
    tickMemory_.shareWithin(frmMain_);
}

// The subsystems refer to the sampler slot and the context, so they go first.
MainWindow::~MainWindow() {
    platform_.instance.onRequest = nullptr;
    platform_.instance.onRefused = nullptr;
    remote_.reset();
    parts_.reset();
}

void MainWindow::wireRequestsAndResults() {
    remote_ = std::make_unique<RemoteRequests>(ctx_, parts_->engine, [this] { host_.showFromOutside(frmMain_); });
    platform_.instance.onRequest = [this](const std::string& request, InstancePort::Reply reply) {
        remote_->handle(request, std::move(reply));
    };
    platform_.instance.onRefused = [this](const std::string& why) { remote_->refused(why); };
    parts_->gauges.onPhysicalPercent = [this](int16_t percent) { trayLoad_.availablePercent(percent); };
    parts_->view.onTrayLoadChanged = [this] { trayLoad_.show(parts_->view.showsTrayLoad()); };
    parts_->launcher.onReleased = [this](const ReleaseResult& result) { parts_->view.cycleEnded(result); };
    parts_->engine.onCycleEnd = [this](const ReleaseResult& result) {
        parts_->view.cycleEnded(result);
        remote_->cycleEnded(result);
    };
}

void MainWindow::Form_Load() {
    auto t = ctx_.trap(",Form_Load");
    t([&] { ensureVerValue(); });
    prepareRunningValues(t);
    initialiseAndLoad(t);
    t([&] { checkStartupRelease(ctx_, parts_->engine); });
    startCheckedFeature(t, mainForm::chkTimeActive, [&] { parts_->timedRelease.startInterval(); }, mainForm::tmrTime);
    startCheckedFeature(t, mainForm::chkAutoActive, [&] { parts_->autoRelease.startInterval(); }, mainForm::tmrAuto);
    t([&] { loadMenu(); });
    t([&] { tray_.showIcon(); });
    applyDisplayMode(t);
    t([&] { frmMain_.get(mainForm::fmRAM).bringToFront(); });
    t([&] { frmMain_.get(mainForm::TS).sendToBack(); });
}

// From the first start on, the version value exists for the update check.
void MainWindow::ensureVerValue() {
    ensureRegString(ctx_.platform.registry, HKEY_LOCAL_MACHINE_, kUpdateKey, kVersionValue, kInstalledVersion);
}

void MainWindow::prepareRunningValues(Trap& t) {
    t([&] { parts_->graphs.clearHistories(); });
    t([&] { setTimer(mainForm::tmrCPU, true); });
    t([&] { setTimer(mainForm::tmrMemory, true); });
    t([&] { currentPage_ = 0; });
    t([&] { cpuSampler_ = std::make_unique<clsCPUUsage>(ctx_.platform, log_); });
}

void MainWindow::initialiseAndLoad(Trap& t) {
    t([&] { parts_->settings.setLoading(true); });
    t([&] { parts_->amounts.initMemory(); });
    t([&] { parts_->graphs.initGraph(); });
    t([&] { parts_->graphs.loadGraph(); });
    t([&] { parts_->gauges.initProgressBar(); });
    runLoaders(t);
    t([&] { parts_->settings.setLoading(false); });
}

// loadRAM fills the amount lists that the later pages' loaders select in.
void MainWindow::runLoaders(Trap& t) {
    t([&] { parts_->amounts.loadRAM(); });
    t([&] { parts_->autoPage.loadAuto(); });
    t([&] { parts_->timePage.loadTime(); });
    t([&] { parts_->startupPage.loadStartup(); });
    t([&] { parts_->launcherPage.loadLauncher(); });
    t([&] { parts_->view.loadView(); });
    t([&] { parts_->languages.loadLanguage(); });
    t([&] { trayLoad_.show(parts_->view.showsTrayLoad()); });
}

void MainWindow::startCheckedFeature(Trap& t, ControlName<CheckBox> box, const std::function<void()>& startInterval,
                                     ControlName<Timer> timer) {
    bool checked = false;
    t([&] { checked = isChecked(box); });
    if (!checked) return;
    t([&] { startInterval(); });
    t([&] { setTimer(timer, true); });
}

void MainWindow::applyDisplayMode(Trap& t) {
    auto selected = [&](int index) { return frmMain_.element(mainForm::optDisplay, index).value(); };
    int mode = 0;
    t([&] { mode = selected(0) ? 0 : selected(1) ? 1 : 2; });
    if (mode == 1) t([&] { frmMain_.setWindowState(WindowState::Minimized); });
    if (mode == 2) {
        t([&] { frmMain_.hide(); });
    } else {
        t([&] { frmMain_.show(); });
    }
    t([&] { tray_.setInTray(mode == 2); });
}

void MainWindow::setTimer(ControlName<Timer> name, bool on) { frmMain_.get(name).setEnabled(on); }

bool MainWindow::isChecked(ControlName<CheckBox> box) const { return frmMain_.get(box).value() == 1; }

}  // namespace qm
