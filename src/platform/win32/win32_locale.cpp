#include "platform/win32/win32_locale.h"

#include <windows.h>

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

std::optional<std::string> Win32Locale::fromUtf8(const std::string& text) {
    if (text.empty()) return text;
    const int wide = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (wide <= 0) return std::nullopt;
    std::wstring w(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), w.data(), wide);
    BOOL lost = FALSE;
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w.data(), wide, nullptr, 0, nullptr, &lost);
    if (size <= 0 || lost) return std::nullopt;
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w.data(), wide, out.data(), size, nullptr, &lost);
    return out;
}

}  // namespace qm
