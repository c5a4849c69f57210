// The profile file reader and writer on any file text: a value written reads back as
// written, and every other key keeps the value it had; the file's encodings convert back.
#include <cctype>

#include "fuzz_check.h"
#include "platform/profile_encoding.h"
#include "platform/profile_text.h"

namespace {

constexpr size_t kBuffer = 1 << 16;

// A name as the program's rules pass one: printable, no brackets, '=' or ';' comment
// mark, and no blanks around it (those are trimmed away on reading).
std::string plainName(FuzzedDataProvider& in) {
    std::string name = qm::fuzz::filtered(in.ConsumeRandomLengthString(16), [](unsigned char c) {
        return qm::fuzz::isPrintableAscii(c) && c != '[' && c != ']' && c != '=' && c != ';';
    });
    while (!name.empty() && name.back() == ' ') name.pop_back();
    while (!name.empty() && name.front() == ' ') name.erase(0, 1);
    return name.empty() ? "k" : name;
}

// A value without blanks around it and without a pair of quotes around it.
std::string plainValue(FuzzedDataProvider& in) {
    std::string value = qm::fuzz::filtered(in.ConsumeRandomLengthString(32), qm::fuzz::isPrintableAscii);
    while (!value.empty() && value.back() == ' ') value.pop_back();
    while (!value.empty() && value.front() == ' ') value.erase(0, 1);
    if (!value.empty() && (value.front() == '"' || value.front() == '\'')) value.insert(0, "x");
    return value;
}

bool sameNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

bool hasUnpairedSurrogate(const std::string& bytes) {
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const unsigned unit = static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8;
        if (unit >= 0xDC00 && unit < 0xE000) return true;
        if (unit < 0xD800 || unit >= 0xDC00) continue;
        const unsigned next = i + 3 < bytes.size()
            ? (static_cast<unsigned char>(bytes[i + 2]) | static_cast<unsigned char>(bytes[i + 3]) << 8) : 0;
        if (next < 0xDC00 || next >= 0xE000) return true;
        i += 2;
    }
    return false;
}

// Every ANSI byte survives the trip through UTF-8; UTF-16 text survives a read and a write.
void checkEncodings(const std::string& bytes) {
    qm::fuzz::require(qm::ansiFromUtf8(qm::utf8FromAnsi(bytes)) == bytes, "ANSI text converts back");
    const std::string utf8 = qm::utf8FromUtf16Le(bytes);
    const std::string again = qm::utf16LeFromUtf8(utf8);
    qm::fuzz::require(qm::utf8FromUtf16Le(again) == utf8, "UTF-16 text reads the same once written");
    const std::string even = bytes.substr(0, bytes.size() & ~size_t{1});
    if (!hasUnpairedSurrogate(even)) qm::fuzz::require(again == even, "UTF-16 text is written as it was read");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string section = plainName(in), key = plainName(in), value = plainValue(in);
    const std::string otherSection = plainName(in), otherKey = plainName(in);
    const std::string text = in.ConsumeRemainingBytesAsString();
    checkEncodings(text);

    const std::string before = qm::profileGetString(text, otherSection, otherKey, "?", kBuffer);
    const std::string written = qm::profileWriteString(text, section, key, value);
    qm::fuzz::require(qm::profileGetString(written, section, key, "?", kBuffer) == value,
                      "a written value reads back");
    if (!sameNoCase(section, otherSection) || !sameNoCase(key, otherKey)) {
        qm::fuzz::require(qm::profileGetString(written, otherSection, otherKey, "?", kBuffer) == before,
                          "a write leaves other keys alone");
    }
    return 0;
}
