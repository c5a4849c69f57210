#pragma once
// The pictures and icons compiled into the program, by the names the controls give them.
#include <windows.h>

#include <string>

namespace qm::win32 {

// Null when there is no such resource.
HBITMAP resourceBitmap(const std::string& name);
HICON resourceIcon(const std::string& name, int size);

}  // namespace qm::win32
