#include "platform/win32/win32_locale.h"

#include <windows.h>

#include "platform/win32/ansi_text.h"

namespace qm {

char Win32Locale::decimalSeparator() {
    char text[8] = {};
    const int length = GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, text, sizeof text);
    // The length counts the terminating zero.
    return length == 2 ? text[0] : '.';
}

// "pt_BR" from the display language's ISO names (XP has no locale names).
std::vector<std::string> Win32Locale::userLanguages() {
    const LCID lcid = MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT);
    char language[16] = {}, country[16] = {};
    if (GetLocaleInfoA(lcid, LOCALE_SISO639LANGNAME, language, sizeof language) == 0) return {};
    std::string code = language;
    if (GetLocaleInfoA(lcid, LOCALE_SISO3166CTRYNAME, country, sizeof country) != 0) code += std::string("_") + country;
    return {code};
}

std::optional<std::string> Win32Locale::fromUtf8(const std::string& text) { return ansiOfUtf8(text); }

}  // namespace qm
