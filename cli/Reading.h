#pragma once
// One reading of the chip, as temps shows it and monitor logs it: both temperatures (the range
// rule applied) and the Status register with its alarm flags.
#include <string>

struct Reading {
    float local = 0;
    float remote = 0;
    int status = 0;
};

// Reads the temperatures as the windows program's cycle does, then the Status register.
Reading TakeReading();

// "local   30 °C", "remote  40.25 °C", "alarms  none", each on its line.
std::string ReadingText(const Reading& reading);
// {"local_C":30,"remote_C":40.25,"status":0,"alarms":[]}
std::string ReadingJson(const Reading& reading);

// The monitor's CSV header and lines, each with its line end.
extern const char* const MonitorCsvHeader;
std::string MonitorCsvLine(const std::string& time, double elapsedSeconds, const Reading& reading);
std::string MonitorJsonLine(const std::string& time, double elapsedSeconds, const Reading& reading);
