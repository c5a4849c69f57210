#pragma once
// The number conversions the program's rules are written in: classic integer
// conversion (round half to even, overflow is error 6), numeric tests and Val.
#include <cstdint>
#include <string>

namespace qm {

// Rounds to the nearest whole number, an exact half going to the even neighbour.
double roundHalfEven(double value);

// Rounds to `places` decimal places, halves to even.
double roundTo(double value, int places);

// To a 16-bit / 32-bit integer, halves to even; error 6 when the result does not fit.
int16_t toInt16(double value);
int32_t toInt32(double value);

// True when the whole text (blanks around allowed) is a number in the user's format.
bool isNumeric(const std::string& text);

// The number the text reads in the user's format; error 13 when it is not numeric.
double toNumber(const std::string& text);

// The longest leading decimal number ("." as the point, blanks skipped); 0 when none.
double val(const std::string& text);

// Shortest text of a number in the user's number format (512, 511.87, 1.5).
std::string numberText(double value);
// The same with "." whatever the user's locale, for values stored in files.
std::string invariantNumberText(double value);
// A single-precision figure as text (7 significant digits), in the user's format.
std::string singleText(float value);

// The decimal separator of the user's number format; the host sets it once at start.
char userDecimalSeparator();
void setUserDecimalSeparator(char separator);

}  // namespace qm
