// The monitor's time column: local time with milliseconds and the offset from UTC, east and
// west of it, across a day's and a year's end, in summer time, before 1970 too, and the calendar worked out anew when the second changes.
#include "files/LocalTimeText.h"

#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>

namespace {

TEST(LocalTimeText, LocalTimeWithMillisecondsAndOffset) {
    struct Case {
        const char* zone;
        long long ms;  // since 1970 UTC
        const char* text;
    };
    const Case cases[] = {
        {"XYZ-5:30", 1700000000123, "2023-11-15T03:43:20.123+05:30"},
        {"XYZ+3", 1700000000123, "2023-11-14T19:13:20.123-03:00"},
        // The offset across a day's and a year's end, either way, and in summer time.
        {"XYZ-14", 1700000000123, "2023-11-15T12:13:20.123+14:00"},
        {"XYZ+12", 1704085200000, "2023-12-31T17:00:00.000-12:00"},
        {"XYZ-5:30", 1704052800000, "2024-01-01T01:30:00.000+05:30"},
        {"CET-1CEST,M3.5.0,M10.5.0/3", 1690000000000, "2023-07-22T06:26:40.000+02:00"},
        // Last: the calendar's change of second below is checked in this zone.
        {"UTC0", -1, "1969-12-31T23:59:59.999+00:00"},
    };
    const char* saved = std::getenv("TZ");
    const std::string before = saved ? saved : "";
    for (const Case& c : cases) {
        setenv("TZ", c.zone, 1);
        tzset();
        LocalTimeText text;
        EXPECT_EQ(text.At(std::chrono::system_clock::time_point(std::chrono::milliseconds(c.ms))), c.text) << c.zone;
    }
    LocalTimeText text;
    using std::chrono::milliseconds;
    EXPECT_EQ(text.At(std::chrono::system_clock::time_point(milliseconds(1700000000999))), "2023-11-14T22:13:20.999+00:00");
    EXPECT_EQ(text.At(std::chrono::system_clock::time_point(milliseconds(1700000001000))), "2023-11-14T22:13:21.000+00:00");
    if (saved) {
        setenv("TZ", before.c_str(), 1);
    } else {
        unsetenv("TZ");
    }
    tzset();
}

}  // namespace
