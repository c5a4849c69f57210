#pragma once
// The user's number format on Windows: the Regional Settings of the user.
#include "platform/locale.h"

namespace qm {

class Win32Locale : public LocalePort {
public:
    char decimalSeparator() override;
};

}  // namespace qm
