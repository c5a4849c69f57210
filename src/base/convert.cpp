#include "base/convert.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

#include "base/app_error.h"

namespace qm {

namespace {

char g_decimalSeparator = '.';

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Scans [sign] digits [sep digits] [E|D [sign] digits]; returns the end position, or
// npos when no digit was seen.
size_t scanNumber(const std::string& s, size_t pos, char separator) {
    if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) ++pos;
    bool digits = false;
    while (pos < s.size() && std::isdigit(static_cast<unsigned char>(s[pos]))) ++pos, digits = true;
    if (pos < s.size() && s[pos] == separator) {
        ++pos;
        while (pos < s.size() && std::isdigit(static_cast<unsigned char>(s[pos]))) ++pos, digits = true;
    }
    if (!digits) return std::string::npos;
    if (pos < s.size() && (s[pos] == 'e' || s[pos] == 'E' || s[pos] == 'd' || s[pos] == 'D')) {
        size_t exp = pos + 1;
        if (exp < s.size() && (s[exp] == '+' || s[exp] == '-')) ++exp;
        size_t start = exp;
        while (exp < s.size() && std::isdigit(static_cast<unsigned char>(s[exp]))) ++exp;
        if (exp > start) pos = exp;
    }
    return pos;
}

// Whether a number out of double's range is too large (rather than too small): the sign
// of its exponent, or without one whether it has a nonzero digit before the point.
bool tooLarge(const std::string& plain) {
    const size_t exponent = plain.find('e');
    if (exponent != std::string::npos) return exponent + 1 < plain.size() && plain[exponent + 1] != '-';
    return plain.find_first_of("123456789") < plain.find('.');
}

// Parses s[begin,end) written with `separator` as the decimal point. Locale-free: the
// process locale (which Qt takes from the environment) never changes what a text reads.
double parseWith(const std::string& s, size_t begin, size_t end, char separator) {
    std::string plain = s.substr(begin, end - begin);
    for (char& c : plain) {
        if (c == separator) c = '.';
        if (c == 'd' || c == 'D' || c == 'E') c = 'e';
    }
    const bool negative = !plain.empty() && plain[0] == '-';
    if (!plain.empty() && (plain[0] == '+' || negative)) plain.erase(0, 1);
    double value = 0;
    const auto result = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        value = tooLarge(plain) ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

std::string trimBlanks(const std::string& text) {
    size_t first = 0, last = text.size();
    while (first < last && isBlank(text[first])) ++first;
    while (last > first && isBlank(text[last - 1])) --last;
    return text.substr(first, last - first);
}

// Whole numbers that print without an exponent, the figures of most ticks, are written
// as integers: the same digits, without the shortest-form search.
std::optional<std::string> wholeText(double value, int significant) {
    static constexpr double kLimits[] = {1,   1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    if (significant < 0 || significant > 15) return std::nullopt;
    if (!(std::fabs(value) < kLimits[significant]) || value != std::trunc(value)) return std::nullopt;
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<int64_t>(value));
    return std::string(buffer, result.ptr);
}

// As "%.*G" in the C locale would write it, then with the given separator.
std::string shortestText(double value, int significant, char separator) {
    if (value == 0) return "0";
    if (auto whole = wholeText(value, significant)) return *std::move(whole);
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, significant);
    std::string text(buffer, result.ptr);
    for (char& c : text) {
        if (c == '.') c = separator;
        if (c == 'e') c = 'E';  // classic form of an exponent: 1E+20, 1.5E-07
    }
    return text;
}

}  // namespace

// Worked out without the floating-point environment: reading or setting its rounding mode
// asks the processor for its features each time in the Windows runtime, which a virtual
// machine answers slowly, and figures are rounded on every tick.
double roundHalfEven(double value) {
    if (!std::isfinite(value)) return value;
    const double below = std::floor(value);
    const double fraction = value - below;  // exact: the bits of value below its units
    const bool up = fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0);
    return std::copysign(up ? below + 1 : below, value);  // -0.4 gives -0, as the processor's rounding does
}

double roundTo(double value, int places) {
    const double scale = std::pow(10.0, places);
    const double scaled = value * scale;
    if (!std::isfinite(scaled)) return value;
    return roundHalfEven(scaled) / scale;
}

int16_t toInt16(double value) {
    const double rounded = roundHalfEven(value);
    if (!(rounded >= -32768.0 && rounded <= 32767.0)) raiseError(errOverflow);
    return static_cast<int16_t>(rounded);
}

int32_t toInt32(double value) {
    const double rounded = roundHalfEven(value);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) raiseError(errOverflow);
    return static_cast<int32_t>(rounded);
}

bool isNumeric(const std::string& text) {
    const std::string t = trimBlanks(text);
    if (t.empty()) return false;
    return scanNumber(t, 0, g_decimalSeparator) == t.size();
}

double toNumber(const std::string& text) {
    const std::string t = trimBlanks(text);
    if (t.empty() || scanNumber(t, 0, g_decimalSeparator) != t.size()) raiseError(errTypeMismatch);
    const double value = parseWith(t, 0, t.size(), g_decimalSeparator);
    if (!std::isfinite(value)) raiseError(errOverflow);
    return value;
}

double val(const std::string& text) {
    std::string compact;
    for (char c : text) {
        if (!isBlank(c) && c != '\n' && c != '\r') compact += c;
    }
    const size_t end = scanNumber(compact, 0, '.');
    if (end == std::string::npos || end == 0) return 0;
    const double value = parseWith(compact, 0, end, '.');
    return std::isfinite(value) ? value : 0;
}

std::string numberText(double value) { return shortestText(value, 15, g_decimalSeparator); }

std::string invariantNumberText(double value) { return shortestText(value, 15, '.'); }

std::string singleText(float value) { return shortestText(value, 7, g_decimalSeparator); }

char userDecimalSeparator() { return g_decimalSeparator; }

void setUserDecimalSeparator(char separator) { g_decimalSeparator = separator; }

}  // namespace qm
