#include "base/catalogue.h"

#include <algorithm>

namespace qm {

namespace {

bool isPlaceholderAt(const std::string& s, size_t i) {
    return s[i] == '%' && i + 1 < s.size() && s[i + 1] >= '1' && s[i + 1] <= '9';
}

Catalogue& current() {
    static Catalogue catalogue;
    return catalogue;
}

}  // namespace

std::string formatText(const std::string& pattern, std::initializer_list<std::string> args) {
    std::string out;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const size_t n = isPlaceholderAt(pattern, i) ? static_cast<size_t>(pattern[i + 1] - '1') : args.size();
        if (n >= args.size()) {
            out += pattern[i];
            continue;
        }
        out += *(args.begin() + n);
        ++i;
    }
    return out;
}

Catalogue::Catalogue(const std::vector<PoEntry>& entries) {
    for (const PoEntry& e : entries) {
        if (e.text.empty() || e.fuzzy) continue;
        exact_[e.id] = e.text;
        Pattern p{{""}, {}, e.text, 0};
        for (size_t i = 0; i < e.id.size(); ++i) {
            if (!isPlaceholderAt(e.id, i)) {
                p.literals.back() += e.id[i];
                continue;
            }
            p.order.push_back(e.id[++i] - '0');
            p.literals.emplace_back();
        }
        if (p.order.empty()) continue;
        for (const std::string& l : p.literals) p.literalLength += l.size();
        if (p.literalLength > 0) patterns_.push_back(std::move(p));  // a bare "%1" would match every text
    }
    std::stable_sort(patterns_.begin(), patterns_.end(),
                     [](const Pattern& a, const Pattern& b) { return a.literalLength > b.literalLength; });
}

// Literal parts in order, each placeholder taking the shortest non-empty run up to the next
// literal (the last one takes the rest).
bool Catalogue::matches(const Pattern& p, const std::string& text, std::vector<std::string>& values) const {
    const std::string& head = p.literals.front();
    if (text.compare(0, head.size(), head) != 0) return false;
    size_t at = head.size();
    values.assign(10, std::string());
    for (size_t k = 0; k < p.order.size(); ++k) {
        const std::string& next = p.literals[k + 1];
        const bool last = k + 1 == p.order.size();
        size_t end = last ? text.size() - std::min(text.size(), next.size()) : text.find(next, at + 1);
        if (next.empty() && !last) return false;  // two placeholders side by side: no way to split
        if (end == std::string::npos || end <= at || text.compare(end, next.size(), next) != 0) return false;
        if (last && end + next.size() != text.size()) return false;
        values[static_cast<size_t>(p.order[k])] = shown(text.substr(at, end - at));
        at = end + next.size();
    }
    return true;
}

std::string Catalogue::shown(const std::string& english) const {
    if (empty() || english.empty()) return english;
    if (auto found = exact_.find(english); found != exact_.end()) return found->second;
    std::vector<std::string> values;
    for (const Pattern& p : patterns_) {
        if (!matches(p, english, values)) continue;
        return formatText(p.translation, {values[1], values[2], values[3], values[4], values[5], values[6],
                                          values[7], values[8], values[9]});
    }
    return english;
}

const Catalogue& currentCatalogue() { return current(); }
void useCatalogue(Catalogue catalogue) { current() = std::move(catalogue); }

}  // namespace qm
