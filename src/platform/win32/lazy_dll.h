#pragma once
// Functions of the DLLs that only some actions need (the update check, the open dialog),
// looked up at their first use instead of imported: under Wine each imported DLL is loaded
// and initialised at every start, tens of ms apiece (bcrypt brings GnuTLS, comdlg32 the
// print spooler, wininet its cookie store).
#include <windows.h>

namespace qm {

// The function `name` of `dll` (which then stays loaded), or null when either is missing.
// Fn is the function's type, e.g. decltype(InternetOpenA), which imports nothing.
template <class Fn>
Fn* lazyFunction(const char* dll, const char* name) {
    HMODULE module = LoadLibraryA(dll);
    FARPROC found = module ? GetProcAddress(module, name) : nullptr;
    return reinterpret_cast<Fn*>(reinterpret_cast<void (*)()>(found));
}

}  // namespace qm
