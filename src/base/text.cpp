#include "base/text.h"

namespace qm {

std::string toLowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

bool containsNoCase(const std::string& text, const std::string& part) {
    return toLowerAscii(text).find(toLowerAscii(part)) != std::string::npos;
}

bool equalsNoCase(const std::string& a, const std::string& b) { return toLowerAscii(a) == toLowerAscii(b); }

std::string trimBlanks(const std::string& text) {
    size_t first = 0, last = text.size();
    while (first < last && text[first] == ' ') ++first;
    while (last > first && text[last - 1] == ' ') --last;
    return text.substr(first, last - first);
}

std::string beforeFirst(const std::string& text, char c) {
    const size_t at = text.find(c);
    return at == std::string::npos ? text : text.substr(0, at);
}

std::string afterFirst(const std::string& text, char c) {
    const size_t at = text.find(c);
    return at == std::string::npos ? std::string() : text.substr(at + 1);
}

std::string removeAllNoCase(const std::string& text, const std::string& part) {
    if (part.empty()) return text;
    const std::string lowerText = toLowerAscii(text), lowerPart = toLowerAscii(part);
    std::string result;
    size_t pos = 0;
    while (pos < text.size()) {
        if (lowerText.compare(pos, lowerPart.size(), lowerPart) == 0) {
            pos += part.size();
        } else {
            result += text[pos++];
        }
    }
    return result;
}

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::string_view beforeNul(std::string_view text) { return text.substr(0, text.find('\0')); }

std::string folderOf(const std::string& path, std::string_view separators) {
    const size_t slash = path.find_last_of(separators);
    if (slash == std::string::npos) return ".";
    return slash == 0 ? path.substr(0, 1) : path.substr(0, slash);
}

std::string addBackslash(const std::string& path, char separator) {
    if (!path.empty() && path.back() == separator) return path;
    return path + separator;
}

}  // namespace qm
