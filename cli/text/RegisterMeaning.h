#pragma once
// What a register's byte means, as read, dump and temps show it: degrees for the temperatures
// and limits (the range rule applied), flag names for the status and configuration registers.
#include "cli/RegisterTarget.h"

#include <string>
#include <vector>

// "Local Temp High Limit        0x05  0x55   85  85 °C"
std::string RegisterLine(const RegisterTarget& target, int value);
// {"name":"Local Temp High Limit","address":5,"value":85,"hex":"0x55","meaning":"85 °C","celsius":85}
std::string RegisterJson(const RegisterTarget& target, int value);

// The labels of the set bits of a table register, bit 7 first; bits labelled "-" are left out.
std::vector<std::string> SetBitNames(int entry, int value);
// The alarm flags set in a Status byte, by name (the busy bit is no alarm).
std::vector<std::string> AlarmNames(int status);
// The names joined by blanks; the none text for none.
std::string NamesText(const std::vector<std::string>& names, const char* none = "none");

// "40.25 °C"
std::string DegreesText(float degrees);
