#pragma once
// A profile file saved as UTF-16 LE with its byte order mark (what Notepad calls "Unicode")
// is read and written in that encoding, as the Windows profile functions do. The rules edit
// such a file as UTF-8, which keeps every character; callers' strings are ANSI (Windows
// code page 1252), and characters it lacks read as '?'.
#include <string>
#include <string_view>

namespace qm {

inline constexpr std::string_view kUtf16LeMark = "\xff\xfe";

bool isUtf16LeText(std::string_view fileBytes);

// Unpaired surrogates become U+FFFD; an odd last byte is dropped.
std::string utf8FromUtf16Le(std::string_view bytes);
std::string utf16LeFromUtf8(std::string_view text);

std::string utf8FromAnsi(std::string_view ansi);
std::string ansiFromUtf8(std::string_view text);

}  // namespace qm
