#pragma once
// The calendar of one second, locally and in UTC, through the system's thread-safe calls
// (localtime_r and gmtime_r, or localtime_s and gmtime_s on Windows). False where the system has
// no calendar for the second: Windows' C library knows no time before 1970.
#include <ctime>

namespace BoardProtocol {

bool LocalCalendar(std::time_t second, std::tm& local);
bool UtcCalendar(std::time_t second, std::tm& utc);

}  // namespace BoardProtocol
