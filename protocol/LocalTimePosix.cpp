#include "protocol/LocalTime.h"

namespace BoardProtocol {

bool LocalCalendar(std::time_t second, std::tm& local) { return localtime_r(&second, &local) != nullptr; }
bool UtcCalendar(std::time_t second, std::tm& utc) { return gmtime_r(&second, &utc) != nullptr; }

}  // namespace BoardProtocol
