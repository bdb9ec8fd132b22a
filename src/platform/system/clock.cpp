#include "platform/system/clock.h"

#include <chrono>
#include <cmath>
#include <ctime>
#include <stdexcept>

namespace platform::system {

namespace {

constexpr double secondsPerDay = 86400.0;

struct LocalNow {
    std::tm fields{};
    double fraction = 0;  // of the current second
};

LocalNow localNow() {
    timespec ts{};
    ::clock_gettime(CLOCK_REALTIME, &ts);
    LocalNow now;
    ::localtime_r(&ts.tv_sec, &now.fields);
    now.fraction = static_cast<double>(ts.tv_nsec) / 1e9;
    return now;
}

}  // namespace

std::string shortDate(int year, unsigned month, unsigned day) {
    return std::to_string(year) + "-" + std::to_string(month) + "-" + std::to_string(day);
}

std::string SystemClock::today() const {
    std::tm t = localNow().fields;
    return shortDate(t.tm_year + 1900, static_cast<unsigned>(t.tm_mon + 1),
                     static_cast<unsigned>(t.tm_mday));
}

double SystemClock::secondsSinceMidnight() const {
    LocalNow now = localNow();
    return now.fields.tm_hour * 3600.0 + now.fields.tm_min * 60.0 + now.fields.tm_sec +
           now.fraction;
}

FakeClock::FakeClock(int year, unsigned month, unsigned day, double seconds) {
    set(year, month, day, seconds);
}

void FakeClock::set(int year, unsigned month, unsigned day, double seconds) {
    std::chrono::year_month_day date{std::chrono::year(year), std::chrono::month(month),
                                     std::chrono::day(day)};
    if (!date.ok()) throw std::invalid_argument("no such date: " + shortDate(year, month, day));
    year_ = year;
    month_ = month;
    day_ = day;
    setSeconds(seconds);
}

void FakeClock::setSeconds(double seconds) {
    seconds_ = 0;
    advance(seconds);
}

void FakeClock::advance(double seconds) {
    double total = seconds_ + seconds;
    double days = std::floor(total / secondsPerDay);
    seconds_ = total - days * secondsPerDay;
    if (days == 0) return;
    std::chrono::sys_days date{std::chrono::year(year_) / std::chrono::month(month_) /
                               std::chrono::day(day_)};
    std::chrono::year_month_day moved{date + std::chrono::days(static_cast<long>(days))};
    year_ = static_cast<int>(moved.year());
    month_ = static_cast<unsigned>(moved.month());
    day_ = static_cast<unsigned>(moved.day());
}

std::string FakeClock::today() const { return shortDate(year_, month_, day_); }

}  // namespace platform::system
