#pragma once
// Small text helpers shared by the subsystems (ASCII case rules, as the program's
// comparisons are on ANSI text).
#include <string>

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

}  // namespace qm
