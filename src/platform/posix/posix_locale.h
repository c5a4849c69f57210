#pragma once
// The user's number format on Linux: the locale the environment names (LC_ALL,
// LC_NUMERIC, LANG), whatever locale the process itself runs in; its languages likewise.
#include "platform/locale.h"

namespace qm {

class PosixLocale : public LocalePort {
public:
    char decimalSeparator() override;
    // LANGUAGE, then LC_ALL, LC_MESSAGES or LANG.
    std::vector<std::string> userLanguages() override;
};

}  // namespace qm
