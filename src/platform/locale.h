#pragma once
// The user's number format, as far as shown numbers need it, and the user's languages.
#include <optional>
#include <string>
#include <vector>

namespace qm {

class LocalePort {
public:
    virtual ~LocalePort() = default;
    // The decimal separator of the user's number format ("." or ","); "." when the
    // user's format has none of one character.
    virtual char decimalSeparator() = 0;
    // The user's languages, most wanted first ("de_DE", "pt_BR.UTF-8", "C").
    virtual std::vector<std::string> userLanguages() { return {}; }
    // A UTF-8 text in the program's own text encoding; nothing when it cannot be written in it.
    virtual std::optional<std::string> fromUtf8(const std::string& text) { return text; }
};

}  // namespace qm
