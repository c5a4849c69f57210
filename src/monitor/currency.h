#pragma once
// The four-decimal fixed-point number the load formula is written in: a signed 64-bit
// count of ten-thousandths. Keeping the formula in this type (and not in plain doubles)
// keeps the sampler's rounding exactly that of the classic Currency arithmetic.
#include <cstdint>

namespace qm {

class Currency {
public:
    static constexpr int64_t kScale = 10000;

    constexpr Currency() = default;
    // The stored integer unchanged: N becomes N / 10 000.
    static constexpr Currency fromRaw(int64_t raw) { return Currency(raw); }
    // Nearest representable value, ties to even; error 6 outside the range.
    static Currency fromDouble(double value);

    constexpr int64_t raw() const { return raw_; }
    double toDouble() const { return static_cast<double>(raw_) / kScale; }

    // Exact; error 6 on overflow.
    Currency operator-(Currency other) const;
    Currency times(int64_t factor) const;
    // Round toward minus infinity, to a 32-bit integer (error 6 when it does not fit).
    int32_t floorToInt32() const;

    friend constexpr bool operator==(Currency a, Currency b) = default;

private:
    constexpr explicit Currency(int64_t raw) : raw_(raw) {}
    int64_t raw_ = 0;
};

}  // namespace qm
