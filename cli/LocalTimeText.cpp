#include "cli/LocalTimeText.h"

#include <cstdio>
#include <cstdlib>

std::string LocalTimeText::At(std::chrono::system_clock::time_point time) {
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(time.time_since_epoch()).count();
    // Whole seconds rounded down, so a time before 1970 still has its milliseconds from 0 to 999.
    const std::time_t second = static_cast<std::time_t>(ms >= 0 ? ms / 1000 : (ms - 999) / 1000);
    if (second != second_) {
        std::tm local{};
        localtime_r(&second, &local);
        char text[40];
        std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.", local.tm_year + 1900, local.tm_mon + 1,
                      local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
        date_ = text;
        const long offsetMinutes = local.tm_gmtoff / 60;
        std::snprintf(text, sizeof text, "%c%02ld:%02ld", offsetMinutes < 0 ? '-' : '+', std::labs(offsetMinutes) / 60,
                      std::labs(offsetMinutes) % 60);
        offset_ = text;
        second_ = second;
    }
    char milliseconds[4];
    std::snprintf(milliseconds, sizeof milliseconds, "%03d", static_cast<int>(ms - static_cast<long long>(second) * 1000));
    return date_ + milliseconds + offset_;
}
