#pragma once
// A whole main window on the headless host and the fake platform, for tests:
//   TestApp app;      // window built, handlers attached, nothing loaded
//   app.load();       // host attached and Form_Load run
#include <memory>
#include <string>

#include "app/main_window.h"
#include "forms/headless_host.h"
#include "support/fake_platform.h"

namespace qm::test {

struct TestApp {
    TestApp();

    HeadlessHost host;
    FakePlatform fakes;
    Platform platform;
    RecordingSink log;
    std::unique_ptr<MainWindow> window;

    // Attaches the form to the host (so its timers run on the virtual clock), then loads.
    void load();

    Form& frm() { return window->form(); }
    MainState& state() { return window->state(); }
    SubsystemContext& ctx() { return window->context(); }
    template <class T>
    T& get(const std::string& name) {
        return frm().get<T>(name);
    }
    Timer& timer(const std::string& name) { return get<Timer>(name); }
    // The settings file as the fakes hold it ("" when it was never written).
    std::string settingsText();
    void setSettingsText(const std::string& text);

    // Before load(): stores an option in the settings file and puts it into its control
    // (with isLoading set, so the control's handler neither writes nor starts anything).
    // The control is set directly too, so a test does not depend on which loaders exist.
    void presetCheck(const std::string& section, const std::string& key, const std::string& box, int value);
    void presetDisplay(int mode);
};

}  // namespace qm::test
