#include "protocol/LocalTime.h"

namespace BoardProtocol {

bool LocalCalendar(std::time_t second, std::tm& local) { return localtime_s(&local, &second) == 0; }
bool UtcCalendar(std::time_t second, std::tm& utc) { return gmtime_s(&utc, &second) == 0; }

}  // namespace BoardProtocol
