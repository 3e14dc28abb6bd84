#pragma once
// One reading of the chip, as temps shows it and monitor logs it: both temperatures (the range
// rule applied) and the Status register with its alarm flags.
#include "board/ChipReading.h"

#include <string>

class JsonObject;

using Reading = USBStuff::Reading;
// The six limits in degrees, in the order of USBStuff::LimitFieldNames.
using Limits = USBStuff::Limits;

// Reads the temperatures, the remote one settled, then the Status register. A failed
// transfer goes to the failure path.
Reading TakeReading();

// "local   30 °C", "remote  40.25 °C", "alarms  none", each on its line.
std::string ReadingText(const Reading& reading);
// {"local_C":30,"remote_C":40.25,"status":0,"alarms":[]}
std::string ReadingJson(const Reading& reading);
// Adds local_C, remote_C, status and alarms to the object.
JsonObject& AddReadingJson(JsonObject& json, const Reading& reading);
