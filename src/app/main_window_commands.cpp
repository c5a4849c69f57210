// The shell's own commands: page selection, menus, hiding and showing, pause, the ends.

#include "base/catalogue.h"
#include "app/main_layout.h"
#include "app/main_window.h"
#include "app/web_links.h"
#include "base/text.h"
#include "update/auto_update.h"

namespace qm {

namespace {

constexpr Color kCurrentPageColor = rgb(0, 0, 255);
constexpr Color kOtherPageColor = rgb(255, 255, 255);

// A program item's caption: the entry's text before its first "|", without blanks around.
std::string programItemCaption(const std::string& entry) { return trimBlanks(beforeFirst(entry, '|')); }

}  // namespace

// Attaches a handler of this window to the Click event of a label, button or menu item.
template <class T>
void MainWindow::onClick(ControlName<T> name, void (MainWindow::*handler)()) {
    frmMain_.get(name).onClick = [this, handler] { (this->*handler)(); };
}

void MainWindow::wirePageSelection() {
    using Handler = void (MainWindow::*)();
    constexpr Handler kSelect[7] = {&MainWindow::lblReleaseRAMN_Click,    &MainWindow::lblAutomaticN_Click,
                                    &MainWindow::lblTimeIntervalsN_Click, &MainWindow::lblLauncherN_Click,
                                    &MainWindow::lblHistoryGraphsN_Click, &MainWindow::lblStartupOtherN_Click,
                                    &MainWindow::lblAboutN_Click};
    for (int page = 0; page < 7; ++page) onClick(kPageLabels[page], kSelect[page]);
    frmMain_.get(mainForm::TS).onClick = [this] { TS_Click(); };
}

void MainWindow::wireMenus() {
    onClick(mainForm::mnuViewReleaseRAM, &MainWindow::mnuViewReleaseRAM_Click);
    onClick(mainForm::mnuViewAutomatic, &MainWindow::mnuViewAutomatic_Click);
    onClick(mainForm::mnuViewTime, &MainWindow::mnuViewTime_Click);
    onClick(mainForm::mnuViewLaucnher, &MainWindow::mnuViewLaucnher_Click);
    onClick(mainForm::mnuViewGraph, &MainWindow::mnuViewGraph_Click);
    onClick(mainForm::mnuViewStartup, &MainWindow::mnuViewStartup_Click);
    onClick(mainForm::mnuHelpAbout, &MainWindow::mnuHelpAbout_Click);
    onClick(mainForm::mnuHelpContents, &MainWindow::mnuHelpContents_Click);
    onClick(mainForm::mnuHelpVisitUs, &MainWindow::mnuHelpVisitUs_Click);
    onClick(mainForm::Uptmc, &MainWindow::Uptmc_Click);
    frmMain_.get(mainForm::mnuHelpUpdate).onClick = [this] { showAutoUpdate(ctx_); };
    onClick(mainForm::mnuRelease, &MainWindow::mnuRelease_Click);
    onClick(mainForm::mnuShow, &MainWindow::mnuShow_Click);
    onClick(mainForm::mnuExit, &MainWindow::mnuExit_Click);
}

void MainWindow::wireHandlers() {
    wirePageSelection();
    wireMenus();
    onClick(mainForm::cmdPause, &MainWindow::cmdPause_Click);
    onClick(mainForm::cmdExit, &MainWindow::cmdExit_Click);
    onClick(mainForm::cmdHide, &MainWindow::cmdHide_Click);
    frmMain_.onLoad = [this] { Form_Load(); };
    frmMain_.onQueryUnload = [this](int& cancel, int mode) { Form_QueryUnload(cancel, mode); };
    frmMain_.onTrayActivated = [this](TrayEvent event) { tray_.trayActivated(event); };
}

// No error handling of its own: a failure goes to the caller's trap.
void MainWindow::selectPage(int page) {
    Frame& frame = frmMain_.get<Frame>(kPageFrames[page]);
    if (frame.visible()) return;
    frmMain_.get<Label>(kPageLabels[page]).setForeColor(kCurrentPageColor);
    frame.setVisible(true);
    hideCurrentPage();
    currentPage_ = static_cast<int16_t>(page);
}

void MainWindow::hideCurrentPage() {
    const int page = currentPage_;
    if (page < 0 || page > 6) raiseError(errSubscript);
    frmMain_.get<Label>(kPageLabels[page]).setForeColor(kOtherPageColor);
    frmMain_.get<Frame>(kPageFrames[page]).setVisible(false);
}

void MainWindow::TS_Click() {
    ignoreErrors([&] {
        const int page = frmMain_.get(mainForm::TS).selectedTab() - 1;
        if (page < 0 || page > 6) raiseError(errSubscript);
        selectPage(page);
        frmMain_.get<Frame>(kPageFrames[page]).bringToFront();
    });
}

void MainWindow::mnuHelpContents_Click() { openHelpPage(ctx_.platform.shell); }
void MainWindow::mnuHelpVisitUs_Click() { openWebsite(ctx_.platform.shell); }
void MainWindow::Uptmc_Click() { openDownloadPage(ctx_.platform.shell); }
void MainWindow::mnuRelease_Click() { parts_->engine.cmdRam_Click(); }

void MainWindow::loadMenu() {
    auto t = ctx_.trap(",loadMenu");
    for (int index : frmMain_.elementIndexes(mainForm::mnuP1)) {
        if (index > 0) t([&] { frmMain_.unloadElement(mainForm::mnuP1, index); });
    }
    t([&] {
        const std::string amount = frmMain_.get(mainForm::lstRam).text();
        frmMain_.get(mainForm::mnuRelease).setCaption(formatText(N_("Free Up %1 Now"), {amount}));
    });
    const ListBox& programs = frmMain_.get(mainForm::lstLauncher);
    Menu& mnuPrograms = frmMain_.get(mainForm::mnuPrograms);
    if (programs.listCount() == 0) {
        t([&] { mnuPrograms.setEnabled(false); });
        return;
    }
    t([&] { frmMain_.element(mainForm::mnuP1, 0).setCaption(programItemCaption(programs.list(0))); });
    for (int i = 1; i < programs.listCount(); ++i) {
        t([&] { frmMain_.loadMenuElement(mainForm::mnuP1, i); });
        t([&] { frmMain_.element(mainForm::mnuP1, i).setCaption(programItemCaption(programs.list(i))); });
        t([&] { frmMain_.element(mainForm::mnuP1, i).setVisible(true); });
    }
    t([&] { parts_->launcher.wireMenuItems(); });
    t([&] { mnuPrograms.setEnabled(true); });
}

void MainWindow::mnuShow_Click() {
    auto t = ctx_.trap(",mnuShow_Click");
    t([&] { frmMain_.show(); });
    t([&] {
        if (frmMain_.windowState() == WindowState::Minimized) frmMain_.setWindowState(WindowState::Normal);
    });
    t([&] { tray_.setInTray(false); });
}

// The icon stays: hiding and showing never remove it.
void MainWindow::cmdHide_Click() {
    auto t = ctx_.trap(",cmdHide_Click");
    t([&] { frmMain_.hide(); });
    t([&] { tray_.setInTray(true); });
}

// tmrRam is left alone, so a running release cycle finishes and on-demand release works.
void MainWindow::cmdPause_Click() {
    auto t = ctx_.trap(",cmdPause_Click");
    bool running = false;
    t([&] { running = frmMain_.get(mainForm::cmdPause).caption() == kPauseCaption; });
    if (running) {
        pauseAll(t);
    } else {
        resumeAll(t);
    }
}

void MainWindow::pauseAll(Trap& t) {
    for (ControlName<Timer> timer : {mainForm::tmrCPU, mainForm::tmrMemory, mainForm::tmrTime, mainForm::tmrAuto}) t([&] { setTimer(timer, false); });
    t([&] { frmMain_.setCaption(kPausedTitle); });
    // The tooltip shows the pause even while the window is on screen.
    t([&] { tray_.setInTray(true); });
    t([&] { tray_.changeToolTip(kPausedTitle); });
    t([&] { tray_.setInTray(false); });
    t([&] { frmMain_.get(mainForm::cmdPause).setCaption(kResumeCaption); });
}

// The interval starts are kept, and the title waits for the memory timer's next refresh.
void MainWindow::resumeAll(Trap& t) {
    t([&] { setTimer(mainForm::tmrCPU, true); });
    t([&] { setTimer(mainForm::tmrMemory, true); });
    t([&] { if (isChecked(mainForm::chkTimeActive)) setTimer(mainForm::tmrTime, true); });
    t([&] { if (isChecked(mainForm::chkAutoActive)) setTimer(mainForm::tmrAuto, true); });
    t([&] { frmMain_.get(mainForm::cmdPause).setCaption(kPauseCaption); });
}

void MainWindow::releaseAndStop(Trap& t) {
    t([&] { cpuSampler_.reset(); });
    for (ControlName<Timer> timer : {mainForm::tmrTime, mainForm::tmrAuto, mainForm::tmrCPU, mainForm::tmrMemory, mainForm::tmrRam}) {
        t([&] { setTimer(timer, false); });
    }
}

// Each end is the handler's last statement: nothing of it runs after the process ends.
void MainWindow::cmdExit_Click() {
    auto t = ctx_.trap(",cmdExit_Click");
    releaseAndStop(t);
    t([&] { openFarewellPage(ctx_.platform.shell); });
    t([&] { tray_.RemoveIcon(); });
    host_.endProgram();
}

// The sampler is not released and no timer stopped: the end comes at once.
void MainWindow::mnuExit_Click() {
    ignoreErrors([&] { tray_.RemoveIcon(); });
    ignoreErrors([&] { openFarewellPage(ctx_.platform.shell); });
    host_.endProgram();
}

// Modes 0 (close box) and 1 (own code) hide instead when chkQuit asks for it; any other
// mode (session end, task manager) always ends, without the farewell page.
void MainWindow::Form_QueryUnload(int& cancel, int unloadMode) {
    auto t = ctx_.trap(",Form_QueryUnload");
    bool hideInstead = false;
    t([&] { hideInstead = (unloadMode == 0 || unloadMode == 1) && isChecked(mainForm::chkQuit); });
    if (hideInstead) {
        t([&] { cancel = 1; });
        t([&] { frmMain_.hide(); });
        t([&] { tray_.setInTray(true); });
        return;
    }
    releaseAndStop(t);
    t([&] { tray_.RemoveIcon(); });
    host_.endProgram();
}

}  // namespace qm
