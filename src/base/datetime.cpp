#include "base/datetime.h"

#include <cmath>
#include <cstdio>

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

struct CivilDate {
    int64_t year, month, day;
};

// The civil date of a day count from 1970-01-01 (proleptic Gregorian): daysFromCivil's inverse.
CivilDate civilDate(int64_t days) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t dayOfEra = days - era * 146097;
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t mp = (5 * dayOfYear + 2) / 153;
    const int64_t month = mp < 10 ? mp + 3 : mp - 9;
    return {yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, dayOfYear - (153 * mp + 2) / 5 + 1};
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

std::string dateTimeText(DateTime moment) {
    const int64_t days = floorDiv(moment.ms, 86400000);
    const int64_t second = (moment.ms - days * 86400000) / 1000;
    const CivilDate date = civilDate(days);
    char text[96];
    std::snprintf(text, sizeof text, "%04lld-%02lld-%02lld %02lld:%02lld:%02lld", static_cast<long long>(date.year),
                  static_cast<long long>(date.month), static_cast<long long>(date.day),
                  static_cast<long long>(second / 3600), static_cast<long long>(second / 60 % 60),
                  static_cast<long long>(second % 60));
    return text;
}

}  // namespace qm
