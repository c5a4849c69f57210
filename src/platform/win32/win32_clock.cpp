#include "platform/win32/win32_clock.h"

#include <windows.h>

namespace qm {

DateTime Win32Clock::now() {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return makeDateTime(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
}

uint32_t Win32Clock::tickCount() { return GetTickCount(); }

}  // namespace qm
