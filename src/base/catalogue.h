#pragma once
// The texts a user sees, in the user's language. Looked up by the English text, the gettext
// way; English itself needs no catalogue and comes back unchanged, byte for byte.
//
// The program keeps composing and reading its English texts (list entries are numbers and
// units it reads back, captions it compares): only what is shown passes through here. A
// composed text ("Free Up 64 MB Now") is found by its pattern ("Free Up %1 Now"), whose
// placeholders carry over into the translation.
#include <initializer_list>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/po_file.h"

namespace qm {

// Marks an English text for the catalogue's template without changing it.
constexpr const char* N_(const char* english) { return english; }

// The pattern with %1...%9 replaced by the arguments, in order of their numbers.
std::string formatText(const std::string& pattern, std::initializer_list<std::string> args);

class Catalogue {
public:
    Catalogue() = default;  // English
    explicit Catalogue(const std::vector<PoEntry>& entries);

    // The text as shown: its translation, the translation of the pattern it was made from,
    // or the text itself.
    std::string shown(const std::string& english) const;
    bool empty() const { return exact_.empty() && patterns_.empty(); }

private:
    struct Pattern {
        std::vector<std::string> literals;  // the text around the placeholders
        std::vector<int> order;             // the number of each placeholder, in text order
        std::string translation;
        size_t literalLength = 0;
    };
    bool matches(const Pattern& p, const std::string& text, std::vector<std::string>& values) const;

    std::unordered_map<std::string, std::string> exact_;
    std::vector<Pattern> patterns_;  // most literal text first, so the most specific wins
};

// The catalogue every shown text goes through; English until the program chooses another.
const Catalogue& currentCatalogue();
void useCatalogue(Catalogue catalogue);
inline std::string shown(const std::string& english) { return currentCatalogue().shown(english); }

}  // namespace qm
