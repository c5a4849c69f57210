#pragma once
// The program's text functions take the ANSI code page; these find whether a wide text
// (a path, a translated text) can be written in it without a letter turning into "?".
#include <optional>
#include <string>

namespace qm {

std::optional<std::string> ansiOfWide(const std::wstring& text);
std::optional<std::string> ansiOfUtf8(const std::string& text);

}  // namespace qm
