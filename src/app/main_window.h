#pragma once
// The main window frmMain: owns the form, the current page and every subsystem; runs the
// start-up sequence and the shell's own commands (pages, menus, hide and show, pause, the
// ways of ending).
#include <functional>
#include <memory>
#include <string>

#include "base/catalogue.h"
#include "app/language_menu.h"
#include "app/remote_requests.h"
#include "app/sys_tray.h"
#include "app/tray_load.h"
#include "app/view_options.h"
#include "context/subsystem_context.h"
#include "memory/amount_lists.h"
#include "memory/auto_page.h"
#include "memory/auto_release.h"
#include "memory/low_memory_check.h"
#include "memory/release_engine.h"
#include "memory/time_page.h"
#include "memory/timed_release.h"
#include "monitor/cpu_usage.h"
#include "monitor/gauges.h"
#include "monitor/graphs.h"
#include "monitor/tick_memory.h"
#include "launcher/launcher_page.h"
#include "launcher/program_launcher.h"
#include "settings/mod_reg.h"
#include "settings/settings_file.h"
#include "settings/startup_page.h"

namespace qm {

inline constexpr const char* kPauseCaption = N_("&Pause All Activity");
inline constexpr const char* kResumeCaption = N_("&Resume Activity");
inline constexpr const char* kPausedTitle = N_("Quillmere [Paused]");

// Every subsystem of the main window, in construction order: each is built after the
// ones whose values it reads. Each one finds its controls by name and attaches its own
// handlers, so the layout is declared before this is built.
struct Subsystems {
    Subsystems(SubsystemContext& ctx, const CpuSamplerSlot& cpuSampler, SysTray& tray, std::function<void()> loadMenu);

    SettingsFile settings;
    modReg registry;
    StartupPage startupPage;
    ReleaseEngine engine;
    ViewOptions view;
    LanguageMenu languages;
    AmountLists amounts;
    Graphs graphs;
    LowMemoryCheck lowMemory;
    AutoRelease autoRelease;
    AutoPage autoPage;
    TimedRelease timedRelease;
    TimePage timePage;
    LauncherPage launcherPage;
    ProgramLauncher launcher;
    Gauges gauges;
};

class MainWindow {
public:
    MainWindow(Host& host, Platform& platform, ErrorSink& log);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    Form& form() { return frmMain_; }
    SubsystemContext& context() { return ctx_; }
    // Index 0..6 of the visible page.
    int16_t currentPage() const { return currentPage_; }
    SysTray& tray() { return tray_; }
    Subsystems& subsystems() { return *parts_; }
    const CpuSamplerSlot& cpuSampler() const { return cpuSampler_; }

    void Form_Load();
    void loadMenu();

    // Page selection: the hidden caption labels' click handlers.
    void lblReleaseRAMN_Click() { selectPage(0); }
    void lblAutomaticN_Click() { selectPage(1); }
    void lblTimeIntervalsN_Click() { selectPage(2); }
    void lblLauncherN_Click() { selectPage(3); }
    void lblHistoryGraphsN_Click() { selectPage(4); }
    void lblStartupOtherN_Click() { selectPage(5); }
    void lblAboutN_Click() { selectPage(6); }
    void hideCurrentPage();
    void TS_Click();

    // The View menu and Help -> About select a page and leave the tab strip alone.
    void mnuViewReleaseRAM_Click() { lblReleaseRAMN_Click(); }
    void mnuViewAutomatic_Click() { lblAutomaticN_Click(); }
    void mnuViewTime_Click() { lblTimeIntervalsN_Click(); }
    void mnuViewLaucnher_Click() { lblLauncherN_Click(); }
    void mnuViewGraph_Click() { lblHistoryGraphsN_Click(); }
    void mnuViewStartup_Click() { lblStartupOtherN_Click(); }
    void mnuHelpAbout_Click() { lblAboutN_Click(); }
    void mnuHelpContents_Click();
    void mnuHelpVisitUs_Click();
    void Uptmc_Click();
    void mnuRelease_Click();

    void mnuShow_Click();
    void cmdHide_Click();
    void cmdPause_Click();
    void cmdExit_Click();
    void mnuExit_Click();
    void Form_QueryUnload(int& cancel, int unloadMode);

private:
    void wireHandlers();
    void wirePageSelection();
    void wireMenus();
    template <class T>
    void onClick(ControlName<T> name, void (MainWindow::*handler)());
    void selectPage(int page);

    // Form_Load, in its order.
    void prepareRunningValues(Trap& t);
    void initialiseAndLoad(Trap& t);
    void runLoaders(Trap& t);
    void startCheckedFeature(Trap& t, ControlName<CheckBox> box, const std::function<void()>& startInterval,
                             ControlName<Timer> timer);
    void applyDisplayMode(Trap& t);
    // Update subsystem: ensureRegString(HKLM, "Software\Microsoft\Quillmere", "ver", "5").
    void ensureVerValue();

    void pauseAll(Trap& t);
    void resumeAll(Trap& t);
    // Releases the sampler and stops every timer, before an end.
    void releaseAndStop(Trap& t);
    void setTimer(ControlName<Timer> name, bool on);
    bool isChecked(ControlName<CheckBox> box) const;
    // Later starts' requests and the end of every release cycle.
    void wireRequestsAndResults();

    Host& host_;
    ErrorSink& log_;
    TickMemory tickMemory_;
    Platform platform_;  // the machine's ports, its memory read once a tick
    Form frmMain_{"frmMain"};
    SubsystemContext ctx_;
    int16_t currentPage_ = 0;
    SysTray tray_;
    CpuSamplerSlot cpuSampler_;
    std::unique_ptr<Subsystems> parts_;
    std::unique_ptr<RemoteRequests> remote_;
    TrayLoad trayLoad_{host_, frmMain_};
};

}  // namespace qm
