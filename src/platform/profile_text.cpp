#include "platform/profile_text.h"

#include "base/text.h"
#include "platform/profile_encoding.h"

#include <optional>
#include <string_view>
#include <vector>

namespace qm {
namespace {

// One physical line: its text is [begin, end), its line break runs up to next.
// CR LF, a lone LF and a lone CR all end a line, as Windows reads them.
struct Line {
    size_t begin;
    size_t end;
    size_t next;
};

// What a line means to the profile functions.
struct Entry {
    enum Kind { Blank, Section, Key, NoValue } kind = Blank;
    std::string_view name;
    std::string_view value;
};

// Where a key lives in the file: the first section of that name, the first key line of
// that name inside it, and the last non-blank line of the section (where a new key goes).
struct Location {
    std::optional<size_t> section;
    std::optional<size_t> key;
    size_t lastLine = 0;
};

// Blanks as the profile functions skip them; ^Z is the old DOS end-of-file mark.
bool isBlank(char c) {
    return (c >= 0x09 && c <= 0x0d) || c == 0x1a || c == ' ';
}

std::string_view trimLeft(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    return s;
}

std::string_view trim(std::string_view s) {
    s = trimLeft(s);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Names and values are C strings to the Windows functions: a NUL byte ends them (beforeNul).

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}

size_t lineBreakLength(const std::string& text, size_t at) {
    if (at >= text.size()) return 0;
    if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') return 2;
    return 1;
}

std::vector<Line> splitLines(const std::string& text) {
    std::vector<Line> lines;
    size_t begin = 0;
    while (begin < text.size()) {
        size_t end = text.find_first_of("\r\n", begin);
        if (end == std::string::npos) end = text.size();
        size_t next = end + lineBreakLength(text, end);
        lines.push_back({begin, end, next});
        begin = next;
    }
    return lines;
}

// "[name]" with the name up to the last ']' of the line; a '[' line without any ']' is
// no section header and is read as an ordinary line of the current section.
std::optional<std::string_view> sectionName(std::string_view content) {
    if (content.front() != '[') return std::nullopt;
    size_t close = content.rfind(']');
    if (close == std::string_view::npos) return std::nullopt;
    return beforeNul(trim(content.substr(1, close - 1)));
}

// "name=value" split at the first '='. A line without '=' is an entry without a value:
// it is found by its name but reads as the default (and a write gives it its value).
// A ';' comment is such an entry too; its name starts with ';', so no key name matches it.
Entry keyEntry(std::string_view content) {
    size_t equals = content.find('=');
    if (equals == std::string_view::npos) return {Entry::NoValue, beforeNul(content), {}};
    return {Entry::Key, beforeNul(trim(content.substr(0, equals))),
            beforeNul(trim(content.substr(equals + 1)))};
}

Entry parseLine(const std::string& text, const Line& line) {
    std::string_view content = trim(std::string_view(text).substr(line.begin, line.end - line.begin));
    if (content.empty()) return {};
    if (auto name = sectionName(content)) return {Entry::Section, *name, {}};
    return keyEntry(content);
}

// Keys before the first section header belong to no section and are never found.
Location locate(const std::string& text, const std::vector<Line>& lines,
                std::string_view section, std::string_view key) {
    Location at;
    for (size_t i = 0; i < lines.size(); ++i) {
        Entry entry = parseLine(text, lines[i]);
        if (entry.kind == Entry::Section) {
            if (at.section) break;  // only the first section of the name counts
            if (sameName(entry.name, section)) at.section = at.lastLine = i;
        } else if (at.section && entry.kind != Entry::Blank) {
            at.lastLine = i;
            if (!at.key && sameName(entry.name, key)) at.key = i;
        }
    }
    return at;
}

std::string_view queryName(const std::string& name) {
    return trim(beforeNul(name));
}

// One pair of matching quotes around the whole value is removed: "x" and 'x', not "x'.
std::string_view withoutQuotes(std::string_view value) {
    if (value.size() < 2) return value;
    char first = value.front();
    if ((first != '"' && first != '\'') || value.back() != first) return value;
    return value.substr(1, value.size() - 2);
}

// Windows drops the default's trailing spaces (only spaces, not tabs); a default of
// nothing but spaces keeps its first one.
std::string_view trimmedDefault(const std::string& defaultValue) {
    std::string_view value = beforeNul(defaultValue);
    while (value.size() > 1 && value.back() == ' ') value.remove_suffix(1);
    return value;
}

std::string_view valueOf(const Entry& entry, const std::string& defaultValue) {
    return entry.kind == Entry::Key ? entry.value : trimmedDefault(defaultValue);
}

std::string cutToBuffer(std::string_view value, size_t bufferSize) {
    if (bufferSize == 0) return {};
    return std::string(value.substr(0, bufferSize - 1));
}

bool endsWithLineBreak(const std::string& text) {
    return text.empty() || text.back() == '\n' || text.back() == '\r';
}

std::string keyLine(std::string_view key, std::string_view value) {
    return std::string(key) + "=" + std::string(value);
}

std::string replaceKeyLine(const std::string& text, const Line& line, const Entry& old,
                           std::string_view value) {
    if (old.kind == Entry::Key && old.value == value) return text;  // unchanged: left alone
    return text.substr(0, line.begin) + keyLine(old.name, value) + text.substr(line.end);
}

std::string insertAfter(const std::string& text, const Line& line, const std::string& added) {
    if (line.next == line.end) return text + "\r\n" + added + "\r\n";  // last line had no break
    return text.substr(0, line.next) + added + "\r\n" + text.substr(line.next);
}

std::string appendSection(const std::string& text, std::string_view section,
                          const std::string& added) {
    std::string separator = endsWithLineBreak(text) ? "" : "\r\n";
    return text + separator + "[" + std::string(section) + "]\r\n" + added + "\r\n";
}

// The value the functions find (or the default), before the buffer cuts it.
std::string foundValue(const std::string& text, const std::string& section, const std::string& key,
                       const std::string& defaultValue) {
    std::vector<Line> lines = splitLines(text);
    Location at = locate(text, lines, queryName(section), queryName(key));
    Entry entry = at.key ? parseLine(text, lines[*at.key]) : Entry{};
    return std::string(withoutQuotes(valueOf(entry, defaultValue)));
}

std::string editedText(const std::string& text, const std::string& section, const std::string& key,
                       const std::string& value) {
    std::vector<Line> lines = splitLines(text);
    std::string_view name = queryName(key);
    std::string_view newValue = trimLeft(beforeNul(value));  // leading blanks are not stored
    Location at = locate(text, lines, queryName(section), name);
    if (at.key) return replaceKeyLine(text, lines[*at.key], parseLine(text, lines[*at.key]), newValue);
    if (at.section) return insertAfter(text, lines[at.lastLine], keyLine(name, newValue));
    return appendSection(text, queryName(section), keyLine(name, newValue));
}

std::string textOfUtf16(const std::string& fileText) {
    return utf8FromUtf16Le(std::string_view(fileText).substr(kUtf16LeMark.size()));
}

}  // namespace

std::string profileGetString(const std::string& fileText, const std::string& section,
                             const std::string& key, const std::string& defaultValue,
                             size_t bufferSize) {
    if (!isUtf16LeText(fileText))
        return cutToBuffer(foundValue(fileText, section, key, defaultValue), bufferSize);
    const std::string value = foundValue(textOfUtf16(fileText), utf8FromAnsi(section), utf8FromAnsi(key),
                                         utf8FromAnsi(defaultValue));
    return cutToBuffer(ansiFromUtf8(value), bufferSize);
}

std::string profileWriteString(const std::string& fileText, const std::string& section,
                               const std::string& key, const std::string& value) {
    if (!isUtf16LeText(fileText)) return editedText(fileText, section, key, value);
    const std::string text = editedText(textOfUtf16(fileText), utf8FromAnsi(section), utf8FromAnsi(key),
                                        utf8FromAnsi(value));
    return std::string(kUtf16LeMark) + utf16LeFromUtf8(text);
}

}  // namespace qm
