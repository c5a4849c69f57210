#include "monitor/currency.h"

#include <cmath>

#include "base/app_error.h"
#include "base/convert.h"

namespace qm {

Currency Currency::fromDouble(double value) {
    const double scaled = roundHalfEven(value * kScale);
    // 2^63 is exactly representable; anything at or beyond it does not fit.
    if (!(scaled >= -9223372036854775808.0 && scaled < 9223372036854775808.0)) raiseError(errOverflow);
    return Currency(static_cast<int64_t>(scaled));
}

Currency Currency::operator-(Currency other) const {
    int64_t result = 0;
    if (__builtin_sub_overflow(raw_, other.raw_, &result)) raiseError(errOverflow);
    return Currency(result);
}

Currency Currency::times(int64_t factor) const {
    int64_t result = 0;
    if (__builtin_mul_overflow(raw_, factor, &result)) raiseError(errOverflow);
    return Currency(result);
}

int32_t Currency::floorToInt32() const {
    int64_t whole = raw_ / kScale;
    if (raw_ % kScale < 0) --whole;
    if (whole < INT32_MIN || whole > INT32_MAX) raiseError(errOverflow);
    return static_cast<int32_t>(whole);
}

}  // namespace qm
