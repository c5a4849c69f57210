#pragma once
// Moments of the local wall clock, as the program's timers and intervals measure them.
#include <cstdint>
#include <string>

namespace qm {

struct DateTime {
    int64_t ms = 0;  // milliseconds since 1970-01-01 00:00:00 local time
    friend bool operator==(DateTime a, DateTime b) { return a.ms == b.ms; }
};

// Second boundaries crossed from `from` to `to` (each cut to the whole second).
int64_t wholeSecondsBetween(DateTime from, DateTime to);
// Clock minutes changed from `from` to `to` (10:00:50 to 10:30:00 is 30).
int64_t clockMinutesBetween(DateTime from, DateTime to);
// A moment from calendar fields (local time), for tests and text.
DateTime makeDateTime(int year, int month, int day, int hour, int minute, int second, int ms = 0);
DateTime addSeconds(DateTime t, double seconds);
// A moment as text, "yyyy-mm-dd hh:mm:ss"; makeDateTime's inverse.
std::string dateTimeText(DateTime moment);

}  // namespace qm
