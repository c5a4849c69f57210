#pragma once
// Starting the programs of the user's list: the Launcher page's list and its editor
// button, and the "&Programs" menu, whose items each start their own entry.
#include <functional>
#include <string>

#include "context/subsystem_context.h"
#include "memory/release_engine.h"
#include "launcher/pre_release.h"

namespace qm {

class ListBox;

class ProgramLauncher {
public:
    // `loadMenu` rebuilds the "&Programs" menu from lstLauncher (after the editor saved).
    ProgramLauncher(SubsystemContext& ctx, const MemoryTotals& totals, std::function<void()> loadMenu);

    void cmdConfigureLauncher_Click();
    void lstLauncher_DblClick();
    // Starts the entry at the item's own index (not the first entry naming its caption).
    void mnuP1_Click(int index);
    // Frees memory as the page's options say, then starts the program at `path`.
    void launchApp(const std::string& path);
    // Attaches mnuP1_Click to every item of the menu; run whenever the menu is rebuilt.
    void wireMenuItems();

    // Told what a release before a launch changed, once its block is freed.
    std::function<void(const ReleaseResult&)> onReleased;

private:
    SubsystemContext& ctx_;
    ListBox& lstLauncher_;
    std::function<void()> loadMenu_;
    PreRelease preRelease_;
};

}  // namespace qm
