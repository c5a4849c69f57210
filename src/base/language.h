#pragma once
// Which of the program's languages a user gets: the one chosen in the program, else the
// first of the user's languages the program speaks, else English.
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qm {

// A language the program speaks besides English, compiled in from its catalogue.
struct BuiltInLanguage {
    const char* code;     // "de", "pt_BR"
    const char* name;     // its own name, UTF-8 ("Deutsch")
    const char* catalogue;  // the .po text, UTF-8
};
const std::vector<BuiltInLanguage>& builtInLanguages();

// The user's languages on Linux, most wanted first: LANGUAGE's list, then the first set of
// LC_ALL, LC_MESSAGES and LANG. `env` answers a variable's value ("" when unset).
std::vector<std::string> languagesOfEnvironment(const std::function<std::string(const char*)>& env);

// The code of the program's language for the wanted ones ("de_DE.UTF-8" finds "de",
// "pt_BR" then "pt"; "pt_PT" finds "pt_BR" when no closer one exists); "" for English,
// also when "C", "POSIX" or English itself comes first.
std::string matchLanguage(const std::vector<std::string>& wanted, const std::vector<std::string>& available);

// Makes the chosen language the shown one: `stored` ("" for the user's own languages, or a
// code), the user's languages, and the conversion of UTF-8 into the program's text (nothing
// when a text cannot be written in it: that language is then not used). Returns the code
// in use, "" for English.
std::string installLanguage(const std::string& stored, const std::vector<std::string>& userLanguages,
                            const std::function<std::optional<std::string>(const std::string&)>& toNative);

}  // namespace qm
