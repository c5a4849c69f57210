#include "base/catalogue.h"
#include "launcher/program_launcher.h"

#include <optional>

#include "launcher/launcher_editor.h"
#include "launcher/program_list.h"

namespace qm {

namespace {

constexpr const char* kNotFound = N_("The program is not found. Please check manually if it exists.");

}  // namespace

ProgramLauncher::ProgramLauncher(SubsystemContext& ctx, const MemoryTotals& totals,
                                 std::function<void()> loadMenu)
    : ctx_(ctx),
      lstLauncher_(ctx.frmMain.get(mainForm::lstLauncher)),
      loadMenu_(std::move(loadMenu)),
      preRelease_(ctx, totals) {
    ctx.frmMain.get(mainForm::cmdConfigureLauncher).onClick = [this] { cmdConfigureLauncher_Click(); };
    lstLauncher_.onDblClick = [this] { lstLauncher_DblClick(); };
    wireMenuItems();
}

// The editor lives only while it is open; its window goes with it.
void ProgramLauncher::cmdConfigureLauncher_Click() {
    auto t = ctx_.trap(",cmdConfigureLauncher_Click");
    LauncherEditor editor(ctx_, lstLauncher_, loadMenu_);
    t([&] { editor.fill(lstLauncher_.items()); });
    t([&] { ctx_.host.showModal(editor.form(), ctx_.frmMain); });
    t([&] { ctx_.host.detach(editor.form()); });
}

void ProgramLauncher::lstLauncher_DblClick() {
    auto t = ctx_.trap(",lstLauncher_DblClick");
    std::optional<std::string> path;
    t([&] {
        if (lstLauncher_.listIndex() >= 0) path = entryPath(lstLauncher_.text());
    });
    if (!path) return;
    bool found = false;
    t([&] { found = ctx_.platform.files.fileExists(*path); });
    if (!found) {
        t([&] { ctx_.message(kNotFound, vbOKOnly | vbInformation); });
        return;
    }
    t([&] { ctx_.host.setBusyPointer(lstLauncher_, true); });
    t([&] { launchApp(*path); });
    t([&] { ctx_.host.setBusyPointer(lstLauncher_, false); });
}

void ProgramLauncher::mnuP1_Click(int index) {
    auto t = ctx_.trap(",mnuP1_Click");
    if (index < 0 || index >= lstLauncher_.listCount()) return;
    t([&] { lstLauncher_.setListIndex(index); });
    t([&] { lstLauncher_DblClick(); });
}

// The block still held when the program starts is freed right after; what the release
// changed is told once it is.
void ProgramLauncher::launchApp(const std::string& path) {
    auto t = ctx_.trap(",launchApp");
    std::unique_ptr<HeldBlock> held;
    bool skipped = false;
    t([&] { skipped = preRelease_.skipped(); });
    if (!skipped) held = preRelease_.run(t);
    t([&] { ctx_.platform.shell.startProgram(path); });
    if (!held) return;
    held.reset();
    t([&] {
        if (onReleased) onReleased({preRelease_.before(), ctx_.platform.memory.status()});
    });
}

void ProgramLauncher::wireMenuItems() {
    for (int index : ctx_.frmMain.elementIndexes(mainForm::mnuP1)) {
        ctx_.frmMain.element(mainForm::mnuP1, index).onClick = [this, index] { mnuP1_Click(index); };
    }
}

}  // namespace qm
