#include "cli/monitor/MonitorLine.h"

#include "cli/text/JsonText.h"
#include "cli/text/RegisterMeaning.h"
#include "registers/NumberText.h"

#include <cmath>
#include <cstdio>

namespace {

// "local-high" -> "local_high_C"
std::string LimitColumn(size_t i) {
    std::string name = USBStuff::LimitFieldNames[i];
    for (char& c : name)
        if (c == '-') c = '_';
    return name + "_C";
}

// Seconds with three decimals, written without the C library's locale-dependent point.
std::string SecondsText(double seconds) {
    const long long ms = std::llround(seconds * 1000.0);
    char text[32];
    std::snprintf(text, sizeof text, "%lld.%03lld", ms / 1000, ms % 1000);
    return text;
}

}  // namespace

std::string MonitorCsvHeader(bool withLimits) {
    std::string header = "time,elapsed_s,local_C,remote_C,status,alarms";
    for (size_t i = 0; withLimits && i < std::tuple_size<Limits>::value; ++i) header += "," + LimitColumn(i);
    return header + "\n";
}

std::string MonitorCsvLine(const std::string& time, double elapsedSeconds, const Reading& reading,
                           const Limits* limits) {
    std::string line = time + "," + SecondsText(elapsedSeconds) + "," +
                       GeneralStuff::TrimmedNumberText(reading.local) + "," +
                       GeneralStuff::TrimmedNumberText(reading.remote) + "," + std::to_string(reading.status) + "," +
                       NamesText(AlarmNames(reading.status), "");
    if (limits)
        for (const float limit : *limits) line += "," + GeneralStuff::TrimmedNumberText(limit);
    return line + "\n";
}

std::string MonitorJsonLine(const std::string& time, double elapsedSeconds, const Reading& reading,
                            const Limits* limits) {
    JsonObject json;
    json.String("time", time).Raw("elapsed_s", SecondsText(elapsedSeconds));
    AddReadingJson(json, reading);
    if (limits)
        for (size_t i = 0; i < limits->size(); ++i) json.Degrees(LimitColumn(i).c_str(), (*limits)[i]);
    return json.Text() + "\n";
}
