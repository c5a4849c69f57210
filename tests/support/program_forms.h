#pragma once
// The program's forms attached to a real host, for the tests that read what their widgets
// show: the whole main window, loaded (its clock and machine are fakes), the launcher
// editor and the update window as their layouts declare them.
#include <vector>

#include "app/main_window.h"
#include "forms/headless_host.h"
#include "launcher/launcher_layout.h"
#include "support/fake_platform.h"
#include "update/auto_update_layout.h"

namespace qm::test {

struct ProgramForms {
    explicit ProgramForms(Host& on) : host(on) {
        host.attach(main.form());
        main.Form_Load();
        declareLauncherLayout(launcher);
        declareAutoUpdateLayout(update);
        host.attach(launcher);
        host.attach(update);
    }
    ~ProgramForms() {
        for (Form* form : all()) host.detach(*form);
    }
    ProgramForms(const ProgramForms&) = delete;
    ProgramForms& operator=(const ProgramForms&) = delete;
    std::vector<Form*> all() { return {&main.form(), &launcher, &update}; }

    Host& host;
    HeadlessHost clock;
    FakePlatform fakes;
    Platform platform = fakes.platform(clock);
    RecordingSink log;
    MainWindow main{host, platform, log};
    Form launcher{"frmLauncher"};
    Form update{"frmAutoUpdate"};
};

}  // namespace qm::test
