#include "platform/win32/ansi_text.h"

#include <windows.h>

namespace qm {

std::optional<std::string> ansiOfWide(const std::wstring& text) {
    if (text.empty()) return std::string();
    const int wide = static_cast<int>(text.size());
    BOOL lost = FALSE;
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), wide, nullptr, 0, nullptr, &lost);
    if (size <= 0 || lost) return std::nullopt;
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), wide, out.data(), size, nullptr, &lost);
    return out;
}

std::optional<std::string> ansiOfUtf8(const std::string& text) {
    if (text.empty()) return std::string();
    const int size = static_cast<int>(text.size());
    const int wide = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (wide <= 0) return std::nullopt;
    std::wstring w(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, w.data(), wide);
    return ansiOfWide(w);
}

}  // namespace qm
