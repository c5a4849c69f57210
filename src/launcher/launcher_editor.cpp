#include "base/catalogue.h"
#include "launcher/launcher_editor.h"

#include "launcher/launcher_controls.h"

#include "base/text.h"
#include "launcher/launcher_layout.h"
#include "launcher/program_list.h"

namespace qm {

namespace {

constexpr const char* kListFull = N_(
    "There are already 30 programs in the list.Please remove some before adding new program.");
constexpr const char* kAlreadyListed = N_("It seems the program is already in the list.");

}  // namespace

LauncherEditor::LauncherEditor(SubsystemContext& ctx, ListBox& lstLauncher, std::function<void()> loadMenu)
    : ctx_(ctx), lstLauncher_(lstLauncher), loadMenu_(std::move(loadMenu)) {
    declareLauncherLayout(frmLauncher_);
    lstPrograms_ = &frmLauncher_.get(launcherForm::lstPrograms);
    wireHandlers();
}

void LauncherEditor::wireHandlers() {
    auto click = [this](ControlName<CommandButton> name, void (LauncherEditor::*handler)()) {
        frmLauncher_.get<CommandButton>(name).onClick = [this, handler] { (this->*handler)(); };
    };
    click(launcherForm::cmdAdd, &LauncherEditor::cmdAdd_Click);
    click(launcherForm::cmdRemove, &LauncherEditor::cmdRemove_Click);
    click(launcherForm::cmdRun, &LauncherEditor::cmdRun_Click);
    click(launcherForm::cmdSave, &LauncherEditor::cmdSave_Click);
    click(launcherForm::cmdCancel, &LauncherEditor::cmdCancel_Click);
    lstPrograms_->onDblClick = [this] { lstPrograms_DblClick(); };
}

void LauncherEditor::fill(const std::vector<std::string>& entries) {
    for (const std::string& entry : entries) lstPrograms_->addItem(entry);
}

// A cancelled dialog ends the handler quietly; nothing else happens.
void LauncherEditor::cmdAdd_Click() {
    auto t = trap(",cmdAdd_Click");
    if (lstPrograms_->listCount() > kMaxPrograms - 1) {
        t([&] { ctx_.message(kListFull, vbOKOnly | vbInformation); });
        return;
    }
    std::optional<std::string> chosen;
    t([&] { chosen = ctx_.host.showOpenDialog(frmLauncher_, kProgramFilter, cdlOFNFileMustExist); });
    if (!chosen) return;
    if (const int listed = entryHolding(*chosen); listed >= 0) {
        t([&] { ctx_.message(kAlreadyListed, vbOKOnly | vbInformation); });
        t([&] { lstPrograms_->setListIndex(listed); });
        return;
    }
    t([&] { lstPrograms_->addItem(programEntry(nameOf(*chosen), *chosen)); });
}

int LauncherEditor::entryHolding(const std::string& path) const {
    for (int i = 0; i < lstPrograms_->listCount(); ++i) {
        if (containsNoCase(lstPrograms_->list(i), path)) return i;
    }
    return -1;
}

// An application entry of the desktop is listed by the name it gives itself.
std::string LauncherEditor::nameOf(const std::string& path) {
    return entryName(ctx_.platform.shell.applicationName(path).value_or(displayName(path)));
}

// No confirmation, and no error handling of its own.
void LauncherEditor::cmdRemove_Click() {
    const int selected = lstPrograms_->listIndex();
    if (selected >= 0) lstPrograms_->removeItem(selected);
}

// At once: no memory is freed and the file is not looked for first.
void LauncherEditor::cmdRun_Click() {
    auto t = trap(",cmdRun_Click");
    const int selected = lstPrograms_->listIndex();
    if (selected < 0) return;
    const std::string entry = lstPrograms_->list(selected);
    t([&] { ctx_.platform.shell.startProgram(entryPath(entry).value_or(std::string())); });
}

// The main list and the menu take the new list even when the file cannot be written (it
// is then lost at the next start). The file is replaced whole, so a failed write leaves
// the previous list in it.
void LauncherEditor::cmdSave_Click() {
    auto t = trap(",cmdSave_Click");
    const std::vector<std::string> entries = lstPrograms_->items();
    t([&] { lstLauncher_.clear(); });
    for (const std::string& entry : entries) t([&] { lstLauncher_.addItem(entry); });
    t([&] { ctx_.platform.files.writeAll(ctx_.programFile(kProgramListFile), programListText(entries)); });
    t([&] { loadMenu_(); });
    t([&] { frmLauncher_.hide(); });
}

// Errors are ignored silently.
void LauncherEditor::cmdCancel_Click() {
    ignoreErrors([&] { frmLauncher_.hide(); });
}

}  // namespace qm
