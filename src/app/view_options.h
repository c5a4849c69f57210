#pragma once
// The View menu's two options: a notification after every release cycle with what it
// freed (on by default), and the memory load drawn into the tray icon (off by default, so
// the classic icon stays). Both are stored in settings.ini as their items change.
#include <functional>

#include "context/subsystem_context.h"
#include "memory/release_engine.h"
#include "settings/settings_file.h"

namespace qm {

class ViewOptions {
public:
    ViewOptions(SubsystemContext& ctx, SettingsFile& settings);

    // Applies the stored options to the menu items.
    void loadView();

    void mnuViewNotify_Click();
    void mnuViewTrayLoad_Click();

    bool notifies() const;
    bool showsTrayLoad() const;
    // A release cycle ended: its result goes to the tray as a notification, when wanted.
    void cycleEnded(const ReleaseResult& result);

    // Told when the tray-load option changes.
    std::function<void()> onTrayLoadChanged;

private:
    void toggle(const char* label, std::string_view item);

    SubsystemContext& ctx_;
    SettingsFile& settings_;
};

}  // namespace qm
