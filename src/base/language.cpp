#include "base/language.h"

#include "base/catalogue.h"

namespace qm {

namespace {

// "de_DE.UTF-8@euro" -> "de_DE"
std::string withoutCodeset(const std::string& locale) {
    return locale.substr(0, locale.find_first_of(".@"));
}

std::string languageOnly(const std::string& code) { return code.substr(0, code.find_first_of("_-")); }

bool meansEnglish(const std::string& code) { return code == "C" || code == "POSIX" || languageOnly(code) == "en"; }

std::string find(const std::vector<std::string>& available, const std::function<bool(const std::string&)>& fits) {
    for (const std::string& code : available) {
        if (fits(code)) return code;
    }
    return {};
}

std::string matchOne(const std::string& wanted, const std::vector<std::string>& available) {
    const std::string full = withoutCodeset(wanted);
    const std::string lang = languageOnly(full);
    std::string code = find(available, [&](const std::string& c) { return c == full; });
    if (code.empty()) code = find(available, [&](const std::string& c) { return c == lang; });
    if (code.empty()) code = find(available, [&](const std::string& c) { return languageOnly(c) == lang; });
    return code;
}

std::optional<Catalogue> nativeCatalogue(const BuiltInLanguage& language,
                                         const std::function<std::optional<std::string>(const std::string&)>& toNative) {
    std::vector<PoEntry> entries = parsePo(language.catalogue).entries;
    for (PoEntry& e : entries) {
        std::optional<std::string> id = toNative(e.id), text = toNative(e.text);
        if (!id || !text) return std::nullopt;
        e.id = std::move(*id);
        e.text = std::move(*text);
    }
    return Catalogue(entries);
}

}  // namespace

std::vector<std::string> languagesOfEnvironment(const std::function<std::string(const char*)>& env) {
    std::vector<std::string> wanted;
    std::string list = env("LANGUAGE");
    for (size_t at = 0; at < list.size();) {
        const size_t end = std::min(list.find(':', at), list.size());
        if (end > at) wanted.push_back(list.substr(at, end - at));
        at = end + 1;
    }
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        if (std::string value = env(name); !value.empty()) return wanted.push_back(value), wanted;
    }
    return wanted;
}

std::string matchLanguage(const std::vector<std::string>& wanted, const std::vector<std::string>& available) {
    for (const std::string& w : wanted) {
        if (meansEnglish(withoutCodeset(w))) return {};
        if (std::string code = matchOne(w, available); !code.empty()) return code;
    }
    return {};
}

std::string installLanguage(const std::string& stored, const std::vector<std::string>& userLanguages,
                            const std::function<std::optional<std::string>(const std::string&)>& toNative) {
    std::vector<std::string> available;
    for (const BuiltInLanguage& l : builtInLanguages()) available.push_back(l.code);
    const std::string code = stored.empty() ? matchLanguage(userLanguages, available) : matchLanguage({stored}, available);
    for (const BuiltInLanguage& l : builtInLanguages()) {
        if (code != l.code) continue;
        std::optional<Catalogue> catalogue = nativeCatalogue(l, toNative);
        if (!catalogue) break;
        useCatalogue(std::move(*catalogue));
        return code;
    }
    useCatalogue(Catalogue());
    return {};
}

}  // namespace qm
