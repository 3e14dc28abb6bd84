// The monitor's time column: local time with milliseconds and the offset from UTC, east and
// west of it, before 1970 too, and the calendar worked out anew when the second changes.
#include "cli/LocalTimeText.h"

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
