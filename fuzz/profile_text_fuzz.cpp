// The profile file reader and writer on any file text: a value written reads back as
// written, and every other key keeps the value it had.
#include <cctype>

#include "fuzz_check.h"
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string section = plainName(in), key = plainName(in), value = plainValue(in);
    const std::string otherSection = plainName(in), otherKey = plainName(in);
    const std::string text = in.ConsumeRemainingBytesAsString();

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
