#include "base/po_file.h"

#include <optional>

namespace qm {

namespace {

enum class Field { None, Context, Id, Plural, Text };

struct Reader {
    PoFile file;
    PoEntry entry;
    Field field = Field::None;
    bool started = false;
    bool nextFuzzy = false;

    void problem(int line, std::string what) { file.problems.push_back({line, std::move(what)}); }

    void finish() {
        if (started && !entry.id.empty()) file.entries.push_back(entry);
        entry = {};
        started = false;
        field = Field::None;
    }
};

char escaped(char c) {
    switch (c) {
        case 'n': return '\n';
        case 't': return '\t';
        case 'r': return '\r';
        case '"': return '"';
        case '\\': return '\\';
        default: return '\0';
    }
}

// The text of one quoted string ("..." with C escapes), or nothing when it is malformed.
std::optional<std::string> quoted(std::string_view s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    if (s.size() < 2 || s.front() != '"' || s.back() != '"') return std::nullopt;
    std::string out;
    for (size_t i = 1; i + 1 < s.size(); ++i) {
        if (s[i] == '"') return std::nullopt;
        if (s[i] != '\\') {
            out += s[i];
            continue;
        }
        if (i + 2 >= s.size() || escaped(s[i + 1]) == '\0') return std::nullopt;
        out += escaped(s[++i]);
    }
    return out;
}

std::string_view trimmedLeft(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    return s;
}

void append(Reader& r, int line, std::string_view rest) {
    const std::optional<std::string> part = quoted(trimmedLeft(rest));
    if (!part) return r.problem(line, "malformed string");
    if (r.field == Field::Id) r.entry.id += *part;
    if (r.field == Field::Text) r.entry.text += *part;
    if (r.field == Field::None) r.problem(line, "string outside an entry");
}

bool startsWithWord(std::string_view line, std::string_view word) {
    return line.substr(0, word.size()) == word && line.size() > word.size() &&
           (line[word.size()] == ' ' || line[word.size()] == '\t' || line[word.size()] == '"');
}

void keyword(Reader& r, int line, std::string_view text) {
    struct Word { std::string_view name; Field field; };
    static constexpr Word kWords[] = {{"msgctxt", Field::Context}, {"msgid_plural", Field::Plural},
                                      {"msgid", Field::Id},        {"msgstr[0]", Field::Text},
                                      {"msgstr", Field::Text}};
    for (const Word& w : kWords) {
        if (!startsWithWord(text, w.name)) continue;
        if (w.field == Field::Id || (w.field == Field::Context && r.field != Field::None)) r.finish();
        if (w.field == Field::Id) r.entry.line = line, r.entry.fuzzy = r.nextFuzzy, r.nextFuzzy = false;
        if (w.field == Field::Text && r.field != Field::Id && r.field != Field::Plural)
            return r.problem(line, "msgstr without msgid");
        r.started = true;
        r.field = w.field;
        return append(r, line, text.substr(w.name.size()));
    }
    if (text.substr(0, 6) == "msgstr") return r.field = Field::None, void();  // further plural forms: unused
    r.problem(line, "unknown keyword");
}

void readLine(Reader& r, int line, std::string_view text) {
    text = trimmedLeft(text);
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    if (text.empty()) return r.finish();
    if (text.substr(0, 2) == "#,") {
        r.finish();
        r.nextFuzzy = text.find("fuzzy") != std::string_view::npos;
        return;
    }
    if (text.front() == '#') return r.finish();
    if (text.front() == '"') return append(r, line, text);
    keyword(r, line, text);
}

}  // namespace

PoFile parsePo(std::string_view text) {
    Reader r;
    int line = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        readLine(r, ++line, text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    r.finish();
    return std::move(r.file);
}

}  // namespace qm
