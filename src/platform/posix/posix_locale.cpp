#include "platform/posix/posix_locale.h"

#include <langinfo.h>
#include <locale.h>

#include <cstdlib>
#include <cstring>

#include "base/language.h"

namespace qm {

char PosixLocale::decimalSeparator() {
    // A locale object of its own, so the process locale is neither read nor changed.
    locale_t user = ::newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0));
    if (user == static_cast<locale_t>(0)) return '.';
    const char* radix = ::nl_langinfo_l(RADIXCHAR, user);
    const char separator = radix && std::strlen(radix) == 1 ? radix[0] : '.';
    ::freelocale(user);
    return separator;
}

std::vector<std::string> PosixLocale::userLanguages() {
    return languagesOfEnvironment([](const char* name) {
        const char* value = std::getenv(name);
        return std::string(value ? value : "");
    });
}

}  // namespace qm
