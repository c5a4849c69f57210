#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <functional>

#include "base/app_error.h"
#include "support/error_of.h"
#include "base/convert.h"
#include "base/datetime.h"
#include "base/text.h"

namespace qm {
namespace {

using test::errorOf;

TEST(Conversions, IntegerConversionRoundsHalvesToEven) {
    EXPECT_EQ(toInt16(0.5), 0);
    EXPECT_EQ(toInt16(1.5), 2);
    EXPECT_EQ(toInt16(2.5), 2);
    EXPECT_EQ(toInt16(-2.5), -2);
    EXPECT_EQ(toInt16(34.5), 34);
    EXPECT_EQ(toInt16(2.51), 3);
    EXPECT_EQ(toInt16(32767.4), 32767);
    EXPECT_EQ(toInt32(2147483647.0), 2147483647);
}

// The processor's own rounding to nearest is the measure, whatever mode is set meanwhile.
TEST(Conversions, HalvesGoToEvenLikeTheProcessorsRoundingInAnyMode) {
    const double cases[] = {0.0, -0.0, 0.4, -0.4, 0.5, -0.5, 1.5, -1.5, 2.5, 1e15 + 0.5, 1e15 + 1.5, 0.49999999999999994,
                            4503599627370495.5, 4503599627370497.0, 9007199254740993.0, -7.5, 123.50000000000001,
                            1e300, -1e300, 5e-324};
    for (int mode : {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
        for (double value : cases) {
            std::fesetround(FE_TONEAREST);
            const double expected = std::nearbyint(value);
            std::fesetround(mode);
            const double rounded = roundHalfEven(value);
            std::fesetround(FE_TONEAREST);
            EXPECT_EQ(rounded, expected) << value << " in mode " << mode;
            EXPECT_EQ(std::signbit(rounded), std::signbit(expected)) << value;
        }
    }
    EXPECT_TRUE(std::isnan(roundHalfEven(std::nan(""))));
    EXPECT_EQ(roundHalfEven(-HUGE_VAL), -HUGE_VAL);
}

TEST(Conversions, OverflowIsErrorSix) {
    EXPECT_EQ(errorOf([] { toInt16(32767.5); }), errOverflow);
    EXPECT_EQ(errorOf([] { toInt16(-32768.6); }), errOverflow);
    EXPECT_EQ(errorOf([] { toInt16(-32768.5); }), 0);  // rounds to -32768, which fits
    EXPECT_EQ(errorOf([] { toInt32(2147483647.5); }), errOverflow);
    EXPECT_EQ(errorOf([] { toInt16(std::nan("")); }), errOverflow);
}

TEST(Conversions, RoundToPlacesHalvesToEven) {
    EXPECT_DOUBLE_EQ(roundTo(511.874, 2), 511.87);
    EXPECT_DOUBLE_EQ(roundTo(2.5, 0), 2);
    EXPECT_DOUBLE_EQ(roundTo(0.125, 2), 0.12);
    EXPECT_DOUBLE_EQ(roundTo(-1.5, 0), -2);
}

TEST(Conversions, NumericTestAndTextToNumber) {
    for (const char* yes : {"0", " 12 ", "-3", "+4", "1.5", ".5", "5.", "1E3", "2e-2"}) EXPECT_TRUE(isNumeric(yes)) << yes;
    for (const char* no : {"", " ", "abc", "1.5x", "x1", "1,5", "--1", "1e", "."}) EXPECT_FALSE(isNumeric(no)) << no;
    EXPECT_DOUBLE_EQ(toNumber(" 25 "), 25);
    EXPECT_EQ(errorOf([] { toNumber("abc"); }), errTypeMismatch);
    EXPECT_EQ(errorOf([] { toNumber(""); }), errTypeMismatch);
}

TEST(Conversions, ValReadsTheLeadingNumberOnly) {
    EXPECT_DOUBLE_EQ(val("512 MB"), 512);
    EXPECT_DOUBLE_EQ(val("1.5 Seconds"), 1.5);
    EXPECT_DOUBLE_EQ(val("  7abc"), 7);
    EXPECT_DOUBLE_EQ(val("1 2 3"), 123);  // blanks inside the number are skipped
    EXPECT_DOUBLE_EQ(val("abc"), 0);
    EXPECT_DOUBLE_EQ(val(""), 0);
    EXPECT_DOUBLE_EQ(val("-55"), -55);
    EXPECT_DOUBLE_EQ(val("5"), 5);
}

TEST(Conversions, LocaleDecidesTheSeparatorOfShownNumbersOnly) {
    EXPECT_EQ(numberText(511.87), "511.87");
    EXPECT_EQ(numberText(512), "512");
    EXPECT_EQ(singleText(static_cast<float>(511.87)), "511.87");
    // Whole numbers: plain up to the last significant digit, with an exponent past it.
    EXPECT_EQ(numberText(-24105), "-24105");
    EXPECT_EQ(numberText(999999999999999.0), "999999999999999");
    EXPECT_EQ(numberText(1e15), "1E+15");
    EXPECT_EQ(numberText(-1e15), "-1E+15");
    EXPECT_EQ(numberText(-0.0), "0");
    EXPECT_EQ(singleText(9999999.0F), "9999999");
    EXPECT_EQ(singleText(16777216.0F), "1.677722E+07");
    setUserDecimalSeparator(',');
    EXPECT_EQ(numberText(1.5), "1,5");
    EXPECT_EQ(invariantNumberText(1.5), "1.5");
    EXPECT_TRUE(isNumeric("1,5"));
    EXPECT_DOUBLE_EQ(val("1,5"), 1);  // Val always reads "."
    setUserDecimalSeparator('.');
}

TEST(DateTimes, SecondsAndClockMinutesCountBoundaries) {
    const DateTime start = makeDateTime(2026, 3, 1, 10, 0, 50);
    EXPECT_EQ(clockMinutesBetween(start, makeDateTime(2026, 3, 1, 10, 30, 0)), 30);
    EXPECT_EQ(clockMinutesBetween(start, makeDateTime(2026, 3, 1, 10, 29, 59)), 29);
    EXPECT_EQ(wholeSecondsBetween(makeDateTime(2026, 3, 1, 10, 0, 0, 900), makeDateTime(2026, 3, 1, 10, 0, 1, 100)), 1);
    EXPECT_EQ(clockMinutesBetween(makeDateTime(2026, 12, 31, 23, 59, 0), makeDateTime(2027, 1, 1, 0, 1, 0)), 2);
}

TEST(Texts, CaseRulesAndCutting) {
    EXPECT_TRUE(containsNoCase("C:\\Tools\\NOTEPAD.EXE", "notepad.exe"));
    EXPECT_EQ(removeAllNoCase("tool.exe.EXE", ".exe"), "tool");
    EXPECT_EQ(beforeFirst("Notepad   |C:\\n.exe", '|'), "Notepad   ");
    EXPECT_EQ(afterFirst("a|b|c", '|'), "b|c");
    EXPECT_EQ(trimBlanks("  x y  "), "x y");
}

}  // namespace
}  // namespace qm
