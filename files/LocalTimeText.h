#pragma once
// The local time in ISO 8601 with milliseconds and the offset from UTC, as the monitor's time
// column writes it: 2024-05-01T14:03:07.123+02:00. Cheap enough for every line of a fast run:
// the calendar and the offset are worked out once per second.
#include <chrono>
#include <ctime>
#include <optional>
#include <string>

class LocalTimeText {
public:
    std::string At(std::chrono::system_clock::time_point time);
    std::string Now() { return At(std::chrono::system_clock::now()); }

private:
    std::optional<std::time_t> second_;  // the second date_ and offset_ are for
    std::string date_;    // "2024-05-01T14:03:07."
    std::string offset_;  // "+02:00"
};

// Minutes east of UTC of the local calendar against UTC's for the same second (tm_gmtoff, which
// Windows lacks).
long UtcOffsetMinutes(const std::tm& local, const std::tm& utc);
