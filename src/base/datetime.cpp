#include "base/datetime.h"

#include <cmath>

namespace qm {

namespace {

int64_t floorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

// Days from 1970-01-01 to the given civil date (proleptic Gregorian).
int64_t daysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

}  // namespace

int64_t wholeSecondsBetween(DateTime from, DateTime to) {
    return floorDiv(to.ms, 1000) - floorDiv(from.ms, 1000);
}

int64_t clockMinutesBetween(DateTime from, DateTime to) {
    return floorDiv(to.ms, 60000) - floorDiv(from.ms, 60000);
}

DateTime makeDateTime(int year, int month, int day, int hour, int minute, int second, int ms) {
    const int64_t days = daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
    return DateTime{((days * 24 + hour) * 60 + minute) * 60000 + second * 1000 + ms};
}

DateTime addSeconds(DateTime t, double seconds) {
    return DateTime{t.ms + static_cast<int64_t>(std::llround(seconds * 1000.0))};
}

}  // namespace qm
