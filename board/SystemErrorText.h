#pragma once
// Windows' own words for a system error code (GetLastError), without the line break they end in.
#include <string>

namespace USBStuff {

std::string SystemErrorText(unsigned long code);

}  // namespace USBStuff
