// Today's date and the time of day.
#pragma once

#include <string>

namespace platform::system {

// The short date form "yyyy-M-d", without leading zeros ("2024-3-5").
std::string shortDate(int year, unsigned month, unsigned day);

class Clock {
  public:
    virtual ~Clock() = default;
    // Today's date in the short date form.
    virtual std::string today() const = 0;
    // Seconds since local midnight, with fractions (0 <= s < 86400 on a
    // normal day).
    virtual double secondsSinceMidnight() const = 0;
};

// Local time of the machine.
class SystemClock final : public Clock {
  public:
    std::string today() const override;
    double secondsSinceMidnight() const override;
};

// A clock for tests that stands still until it is set or advanced.
class FakeClock final : public Clock {
  public:
    explicit FakeClock(int year = 2000, unsigned month = 1, unsigned day = 1, double seconds = 0);

    // Throws std::invalid_argument for a date that does not exist.
    void set(int year, unsigned month, unsigned day, double seconds = 0);
    void setSeconds(double seconds);
    // Moves the clock on (or back, for a negative amount), across midnight
    // into the next (or previous) days.
    void advance(double seconds);

    std::string today() const override;
    double secondsSinceMidnight() const override { return seconds_; }

  private:
    int year_ = 2000;
    unsigned month_ = 1;
    unsigned day_ = 1;
    double seconds_ = 0;
};

}  // namespace platform::system
