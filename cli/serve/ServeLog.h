#pragma once
// serve's lines on standard error, each with its local time and offset first, as a service's
// log that no journal stamps needs: "2024-05-01T14:03:07.123+02:00 kts9320b-cli: 0x4c back".
#include <string>

// One whole line, never interleaved with another thread's.
void ServeLogLine(const std::string& text);
