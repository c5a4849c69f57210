#include "platform/win32/win32_locale.h"

#include <windows.h>

namespace qm {

char Win32Locale::decimalSeparator() {
    char text[8] = {};
    const int length = GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, text, sizeof text);
    // The length counts the terminating zero.
    return length == 2 ? text[0] : '.';
}

}  // namespace qm
