#pragma once
// The core's main window for tests, in two sizes, on the headless host and the fakes:
//   BareWindow  the window's controls and the context every subsystem is handed, with the
//               settings file; a test builds only the subsystems it exercises.
//   TestApp     the whole main window: every subsystem built, handlers attached.
//                 TestApp app;   // nothing loaded
//                 app.load();    // host attached and Form_Load run
// Both offer the same frm(), ctx() and settings(), so the fixtures of core_fixture.h run
// on either.
#include <memory>
#include <string>

#include "app/main_window.h"
#include "forms/headless_host.h"
#include "support/fake_platform.h"

namespace qm::test {

inline DateTime defaultTestStart() { return makeDateTime(2026, 1, 5, 10, 0, 0); }

struct BareWindow {
    explicit BareWindow(DateTime start = defaultTestStart());

    HeadlessHost host;
    FakePlatform fakes;
    Platform platform;
    RecordingSink log;
    Form form{"frmMain"};
    SubsystemContext context{host, platform, log, form};
    SettingsFile settingsFile{context};

    Form& frm() { return form; }
    SubsystemContext& ctx() { return context; }
    SettingsFile& settings() { return settingsFile; }
};

struct TestApp {
    explicit TestApp(DateTime start = defaultTestStart());

    HeadlessHost host;
    FakePlatform fakes;
    Platform platform;
    RecordingSink log;
    std::unique_ptr<MainWindow> window;

    // Attaches the form to the host (so its timers run on the virtual clock), then loads.
    void load();

    Form& frm() { return window->form(); }
    SubsystemContext& ctx() { return window->context(); }
    Subsystems& parts() { return window->subsystems(); }
    SettingsFile& settings() { return parts().settings; }
    template <class T>
    T& get(std::string_view name) {
        return frm().get<T>(name);
    }
    Timer& timer(const std::string& name) { return get<Timer>(name); }
    // The settings file as the fakes hold it ("" when it was never written).
    std::string settingsText();
    void setSettingsText(const std::string& text);

    // Before load(): stores an option in the settings file and puts it into its control
    // (while loading, so the control's handler neither writes nor starts anything).
    // The control is set directly too, so a test does not depend on which loaders exist.
    void presetCheck(const std::string& section, const std::string& key, const std::string& box, int value);
    void presetDisplay(int mode);
};

}  // namespace qm::test
