#pragma once
// The main window with the settings subsystems wired as the program wires them, plus the
// amount lists and graphs whose loaders run in the same start-up. (To be replaced by the
// shared TestApp fixture once it lands.)
#include <gtest/gtest.h>

#include <memory>

#include "context/subsystem_context.h"
#include "app/main_layout.h"
#include "forms/headless_host.h"
#include "launcher/launcher_page.h"
#include "memory/amount_lists.h"
#include "memory/auto_page.h"
#include "memory/time_page.h"
#include "monitor/graphs.h"
#include "settings/loaders.h"
#include "settings/mod_reg.h"
#include "settings/settings_file.h"
#include "settings/startup_page.h"
#include "support/fake_platform.h"

namespace qm::test {

class SettingsTest : public ::testing::Test {
protected:
    HeadlessHost host;
    FakePlatform fakes;
    Platform platform = fakes.platform(host);
    Form frm{"frmMain"};
    MainState state;
    RecordingSink log;
    SubsystemContext ctx{host, platform, log, frm, state};
    std::unique_ptr<SettingsFile> settings;
    std::unique_ptr<AutoPage> autoPage;
    std::unique_ptr<TimePage> timePage;
    std::unique_ptr<StartupPage> startupPage;
    std::unique_ptr<LauncherPage> launcherPage;
    std::unique_ptr<modReg> reg;
    std::unique_ptr<Loaders> loaders;

    SettingsTest() {
        declareMainLayout(frm);
        host.attach(frm);
        settings = std::make_unique<SettingsFile>(ctx);
        autoPage = std::make_unique<AutoPage>(ctx, *settings);
        timePage = std::make_unique<TimePage>(ctx, *settings);
        startupPage = std::make_unique<StartupPage>(ctx, *settings);
        launcherPage = std::make_unique<LauncherPage>(ctx, *settings);
        reg = std::make_unique<modReg>(ctx, *settings);
        loaders = std::make_unique<Loaders>(ctx, *settings, *timePage);
        // The Run key exists on every Windows machine; one value of another program is there.
        fakes.registry.setString(HKEY_LOCAL_MACHINE_, kRunKey, "Other", "C:\\other.exe");
    }

    std::string path() const { return ctx.programFile("settings.ini"); }
    std::string& fileText() { return fakes.files.files[path()]; }
    void store(const std::string& section, const std::string& key, const std::string& value) {
        fakes.profile.writeString(section, key, value, path());
    }
    std::string stored(const std::string& section, const std::string& key) {
        return fakes.profile.getString(section, key, "<none>", 255, path());
    }
    // The amount lists as loadRAM fills them on a machine of 256 MB (128 entries).
    void fillAmountLists() {
        frm.get<ComboBox>("cmbStartupRam").addItem("0 MB");
        for (int mb = 2; mb <= 256; mb += 2) {
            for (const char* name : {"lstRam", "cmbStartupRam", "lstTimeAmount", "lstAutoAmount", "cmbAutoRelease"})
                frm.get<ListControl>(name).addItem(std::to_string(mb) + " MB");
        }
    }
    // The four loaders of this subsystem, with isLoading set as the start-up sets it.
    void load() {
        fillAmountLists();
        state.isLoading = true;
        loaders->loadAuto();
        loaders->loadTime();
        loaders->loadStartup();
        loaders->loadLauncher();
        state.isLoading = false;
    }
    template <class T>
    T& control(const std::string& name) { return frm.get<T>(name); }
    ListControl& list(const std::string& name) { return frm.get<ListControl>(name); }
    std::string selected(const std::string& name) { return list(name).text(); }
    int option(const std::string& group) {
        for (int i : frm.elementIndexes(group)) {
            if (frm.element<OptionButton>(group, i).value()) return i;
        }
        return -1;
    }
    bool logged(const std::string& label, int number = -1) const { return log.has("frmMain" + label, number); }
};

}  // namespace qm::test
