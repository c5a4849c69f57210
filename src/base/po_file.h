#pragma once
// Reads a gettext catalogue (.po text): the translated entries and, for a broken file, the
// line of each fault, so that a bad catalogue is named rather than shown.
#include <string>
#include <string_view>
#include <vector>

namespace qm {

struct PoEntry {
    std::string id;    // the English text
    std::string text;  // its translation; empty when untranslated
    bool fuzzy = false;
    int line = 0;      // where its msgid stands
};

struct PoProblem {
    int line = 0;
    std::string what;
};

struct PoFile {
    std::vector<PoEntry> entries;  // the header (empty msgid) left out
    std::vector<PoProblem> problems;
};

PoFile parsePo(std::string_view text);

}  // namespace qm
