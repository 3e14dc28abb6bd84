#pragma once
// One reading of the chip, as temps shows it and monitor logs it: both temperatures (the range
// rule applied) and the Status register with its alarm flags.
#include <array>
#include <string>

class JsonObject;

struct Reading {
    float local = 0;
    float remote = 0;
    int status = 0;
};

// The six limits in degrees: local high, low and THERM, then remote high, low and THERM.
using Limits = std::array<float, 6>;

// Reads the temperatures in the order the windows program's cycle does, then the Status
// register. A failed transfer goes to the failure path.
Reading TakeReading();

// "local   30 °C", "remote  40.25 °C", "alarms  none", each on its line.
std::string ReadingText(const Reading& reading);
// {"local_C":30,"remote_C":40.25,"status":0,"alarms":[]}
std::string ReadingJson(const Reading& reading);
// Adds local_C, remote_C, status and alarms to the object.
JsonObject& AddReadingJson(JsonObject& json, const Reading& reading);
