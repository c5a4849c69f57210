#include "launcher/launcher_layout.h"

#include "launcher/launcher_controls.h"

namespace qm {

namespace {

struct Button {
    ControlName<CommandButton> name;
    const char* caption;
    int top;
};

// The list on the left; the editing buttons at the top of the column beside it, the
// closing ones at its foot.
constexpr Button kButtons[] = {{launcherForm::cmdAdd, "&Add Program", 120},
                               {launcherForm::cmdRemove, "&Remove From List", 660},
                               {launcherForm::cmdRun, "Run &Program", 1200},
                               {launcherForm::cmdSave, "&Save && Close", 3000},
                               {launcherForm::cmdCancel, "&Cancel", 3540}};

}  // namespace

void declareLauncherLayout(Form& frm) {
    frm.setCaption(kLauncherCaption);
    frm.move(0, 0, 6735, 4155);  // client area
    ListBox& programs = frm.add<ListBox>(launcherForm::lstPrograms);
    programs.move(120, 120, 4575, 3915);
    programs.setDescription("Programs");
    for (const Button& b : kButtons) {
        CommandButton& button = frm.add<CommandButton>(b.name);
        button.setCaption(b.caption);
        button.move(4815, b.top, 1800, 435);
    }
}

}  // namespace qm
