#include "files/LocalTimeText.h"

#include "protocol/LocalTime.h"

#include <cstdio>
#include <cstdlib>

namespace {

// The calendar of one second, locally and in UTC; false where the system has none for it
// (Windows' C library knows no time before 1970).
bool LocalAndUtc(std::time_t second, std::tm& local, std::tm& utc) {
    return BoardProtocol::LocalCalendar(second, local) && BoardProtocol::UtcCalendar(second, utc);
}

}  // namespace

long UtcOffsetMinutes(const std::tm& local, const std::tm& utc) {
    // The two calendars are less than two days apart, so the day of the year tells the days
    // between them unless a new year lies between.
    long days = local.tm_yday - utc.tm_yday;
    if (local.tm_year != utc.tm_year) days = local.tm_year > utc.tm_year ? 1 : -1;
    return (days * 24 + local.tm_hour - utc.tm_hour) * 60 + local.tm_min - utc.tm_min;
}

std::string LocalTimeText::At(std::chrono::system_clock::time_point time) {
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(time.time_since_epoch()).count();
    // Whole seconds rounded down, so a time before 1970 still has its milliseconds from 0 to 999.
    const std::time_t second = static_cast<std::time_t>(ms >= 0 ? ms / 1000 : (ms - 999) / 1000);
    if (second != second_) {
        std::tm local{};
        std::tm utc{};
        if (!LocalAndUtc(second, local, utc)) local = utc = std::tm{};
        char text[40];
        std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.", local.tm_year + 1900, local.tm_mon + 1,
                      local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
        date_ = text;
        const long offsetMinutes = UtcOffsetMinutes(local, utc);
        std::snprintf(text, sizeof text, "%c%02ld:%02ld", offsetMinutes < 0 ? '-' : '+', std::labs(offsetMinutes) / 60,
                      std::labs(offsetMinutes) % 60);
        offset_ = text;
        second_ = second;
    }
    char milliseconds[4];
    std::snprintf(milliseconds, sizeof milliseconds, "%03d", static_cast<int>(ms - static_cast<long long>(second) * 1000));
    return date_ + milliseconds + offset_;
}
