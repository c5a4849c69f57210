#pragma once
// frmLauncher, the program-list editor: a working copy of the main window's list that
// "&Save && Close" writes to Launcher.mbl and hands back, and "&Cancel" drops. Each opening
// builds a fresh editor.
#include <functional>
#include <string>
#include <vector>

#include "context/subsystem_context.h"
#include "forms/form.h"

namespace qm {

class LauncherEditor {
public:
    // `lstLauncher`: the main window's list, replaced on saving; `loadMenu` rebuilds the
    // "&Programs" menu from it.
    LauncherEditor(SubsystemContext& ctx, ListBox& lstLauncher, std::function<void()> loadMenu);

    Form& form() { return frmLauncher_; }
    // The working copy starts as these entries.
    void fill(const std::vector<std::string>& entries);

    void cmdAdd_Click();
    void cmdRemove_Click();
    void cmdRun_Click();
    void cmdSave_Click();
    void cmdCancel_Click();
    void lstPrograms_DblClick() { cmdRun_Click(); }

private:
    void wireHandlers();
    Trap trap(const char* label) { return Trap(ctx_.log, frmLauncher_.name(), label); }
    // The entry whose text holds `path` (any case), or -1.
    int entryHolding(const std::string& path) const;
    std::string nameOf(const std::string& path);

    SubsystemContext& ctx_;
    ListBox& lstLauncher_;
    std::function<void()> loadMenu_;
    Form frmLauncher_{"frmLauncher"};
    ListBox* lstPrograms_ = nullptr;
};

}  // namespace qm
