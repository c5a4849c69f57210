#pragma once
// The program's forms on the native host, for the tests that read what their windows show:
// the whole main window, loaded (its clock and machine are fakes), the launcher editor
// and the update window as their layouts declare them.
#include <windows.h>

#include <vector>

#include "app/main_window.h"
#include "launcher/launcher_layout.h"
#include "support/fake_platform.h"
#include "ui/win32/form_window.h"
#include "ui/win32/win32_host.h"
#include "update/auto_update_layout.h"

namespace qm::win32 {

// The native window of a control of an attached form (null when it has none).
inline HWND hwndOf(const Win32Host& host, const Form& frm, const Control& c) {
    ControlView* view = host.windowOf(frm)->viewOf(&c);
    return view ? view->hwnd() : nullptr;
}

struct NativeForms {
    explicit NativeForms(Win32Host& on) : host(on) {
        host.attach(main.form());
        main.Form_Load();
        declareLauncherLayout(launcher);
        declareAutoUpdateLayout(update);
        host.attach(launcher);
        host.attach(update);
    }
    ~NativeForms() {
        for (Form* form : all()) host.detach(*form);
    }
    NativeForms(const NativeForms&) = delete;
    NativeForms& operator=(const NativeForms&) = delete;
    std::vector<Form*> all() { return {&main.form(), &launcher, &update}; }

    Win32Host& host;
    HeadlessHost clock;
    test::FakePlatform fakes;
    Platform platform = fakes.platform(clock);
    test::RecordingSink log;
    MainWindow main{host, platform, log};
    Form launcher{"frmLauncher"};
    Form update{"frmAutoUpdate"};
};

}  // namespace qm::win32
