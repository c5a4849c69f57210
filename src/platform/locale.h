#pragma once
// The user's number format, as far as shown numbers need it.
namespace qm {

class LocalePort {
public:
    virtual ~LocalePort() = default;
    // The decimal separator of the user's number format ("." or ","); "." when the
    // user's format has none of one character.
    virtual char decimalSeparator() = 0;
};

}  // namespace qm
