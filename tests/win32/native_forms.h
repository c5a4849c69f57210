#pragma once
// The program's forms on the native host, for the tests that read what their windows show.
#include <windows.h>

#include "support/program_forms.h"
#include "ui/win32/form_window.h"
#include "ui/win32/win32_host.h"

namespace qm::win32 {

// The native window of a control of an attached form (null when it has none).
inline HWND hwndOf(const Win32Host& host, const Form& frm, const Control& c) {
    ControlView* view = host.windowOf(frm)->viewOf(&c);
    return view ? view->hwnd() : nullptr;
}

using NativeForms = test::ProgramForms;

}  // namespace qm::win32
