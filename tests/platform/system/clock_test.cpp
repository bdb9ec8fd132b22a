#include "platform/system/clock.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using platform::system::FakeClock;
using platform::system::shortDate;
using platform::system::SystemClock;

namespace {

TEST(Clock, ShortDateHasNoLeadingZeros) {
    EXPECT_EQ(shortDate(2024, 3, 5), "2024-3-5");
    EXPECT_EQ(shortDate(1999, 12, 31), "1999-12-31");
    EXPECT_EQ(shortDate(2000, 10, 1), "2000-10-1");
}

TEST(Clock, SystemClockGivesShortDateAndTimeOfDay) {
    SystemClock clock;
    EXPECT_THAT(clock.today(), testing::MatchesRegex("[0-9]{4}-[1-9][0-9]?-[1-9][0-9]?"));
    double s = clock.secondsSinceMidnight();
    EXPECT_GE(s, 0.0);
    EXPECT_LT(s, 86401.0);  // a leap second may reach 86400.x
}

TEST(FakeClock, AdvanceCrossesMidnightMonthsAndYears) {
    struct Case {
        int y;
        unsigned m, d;
        double start, step;
        const char* date;
        double seconds;
    };
    const Case cases[] = {
        {2024, 3, 5, 100.25, 50.5, "2024-3-5", 150.75},
        {2024, 3, 5, 86399.5, 1.0, "2024-3-6", 0.5},
        {2023, 12, 31, 86000, 1000, "2024-1-1", 600},
        {2024, 2, 28, 0, 86400, "2024-2-29", 0},    // leap day
        {2023, 2, 28, 0, 86400, "2023-3-1", 0},     // no leap day
        {2024, 3, 1, 10, -20, "2024-2-29", 86390},  // backwards over midnight
        {2024, 1, 1, 0, 3 * 86400 + 5, "2024-1-4", 5},
    };
    for (const Case& c : cases) {
        FakeClock clock(c.y, c.m, c.d, c.start);
        clock.advance(c.step);
        EXPECT_EQ(clock.today(), c.date) << c.date;
        EXPECT_DOUBLE_EQ(clock.secondsSinceMidnight(), c.seconds) << c.date;
    }
}

TEST(FakeClock, RefusesDateThatDoesNotExist) {
    EXPECT_THROW(FakeClock(2023, 2, 29), std::invalid_argument);
    FakeClock clock;
    EXPECT_THROW(clock.set(2024, 13, 1), std::invalid_argument);
    EXPECT_EQ(clock.today(), "2000-1-1");
}

}  // namespace
