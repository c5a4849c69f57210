#pragma once
// Small text helpers shared by the subsystems (ASCII case rules, as the program's
// comparisons are on ANSI text).
#include <string>
#include <string_view>

namespace qm {

std::string toLowerAscii(std::string text);
bool containsNoCase(const std::string& text, const std::string& part);
bool equalsNoCase(const std::string& a, const std::string& b);
// Leading and trailing blanks removed.
std::string trimBlanks(const std::string& text);
// The text before the first occurrence of `c` (the whole text when there is none).
std::string beforeFirst(const std::string& text, char c);
// The text after the first occurrence of `c` (empty when there is none).
std::string afterFirst(const std::string& text, char c);
// Every occurrence of `part` removed, comparing without regard to case.
std::string removeAllNoCase(const std::string& text, const std::string& part);
bool endsWith(const std::string& text, const std::string& tail);
// The text before its first NUL: where a C string, and so every Windows text function, ends.
std::string_view beforeNul(std::string_view text);

// The folder of a path: the text before its last separator (any of `separators`), "/" for a
// file in the root, "." for a bare name.
std::string folderOf(const std::string& path, std::string_view separators = "/");
// The path with `separator` appended unless it already ends with one.
std::string addBackslash(const std::string& path, char separator = '\\');

}  // namespace qm
