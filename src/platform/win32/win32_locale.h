#pragma once
// The user's number format on Windows: the Regional Settings of the user; the user's
// display language; texts in the ANSI code page the program's text functions use.
#include "platform/locale.h"

namespace qm {

class Win32Locale : public LocalePort {
public:
    char decimalSeparator() override;
    std::vector<std::string> userLanguages() override;
    std::optional<std::string> fromUtf8(const std::string& text) override;
};

}  // namespace qm
