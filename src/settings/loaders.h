#pragma once
// The settings loaders of the Automatic, Time Intervals, Startup/Other and Launcher pages.
// Each applies every stored value to the control it mirrors, filling the lists it owns in
// between, in this order, because a list must be filled before a value selects in it.
#include <string>

#include "app/app_context.h"
#include "memory/time_page.h"
#include "settings/settings_file.h"

namespace qm {

class Loaders {
public:
    // `timePage`: rule H calls its unit handler so that the interval list is filled.
    Loaders(AppContext& ctx, SettingsFile& settings, TimePage& timePage);

    void loadAuto();
    void loadTime();
    void loadStartup();
    void loadLauncher();

private:
    std::string stored(const std::string& section, const std::string& key, const std::string& missing) {
        return settings_.getData(section, key, missing);
    }
    ListControl& list(const std::string& name) { return ctx_.frmMain.get<ListControl>(name); }
    CheckBox& box(const std::string& name) { return ctx_.frmMain.get<CheckBox>(name); }
    void applyTimeUnit(const std::string& v);

    AppContext& ctx_;
    SettingsFile& settings_;
    TimePage& timePage_;
};

}  // namespace qm
