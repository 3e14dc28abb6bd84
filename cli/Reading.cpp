#include "cli/Reading.h"

#include "chip/ChipRegisters.h"
#include "cli/ChipTransfers.h"
#include "cli/JsonText.h"
#include "cli/RegisterMeaning.h"
#include "registers/NumberText.h"
#include "state/GeneralStuff.h"

#include <cmath>
#include <cstdio>

namespace {

// Seconds with three decimals, written without the C library's locale-dependent point.
std::string SecondsText(double seconds) {
    const long long ms = std::llround(seconds * 1000.0);
    char text[32];
    std::snprintf(text, sizeof text, "%lld.%03lld", ms / 1000, ms % 1000);
    return text;
}

JsonObject& AddReading(JsonObject& json, const Reading& reading) {
    return json.Degrees("local_C", reading.local)
        .Degrees("remote_C", reading.remote)
        .Integer("status", reading.status)
        .Raw("alarms", JsonStringArray(AlarmNames(reading.status)));
}

}  // namespace

const char* const MonitorCsvHeader = "time,elapsed_s,local_C,remote_C,status,alarms\n";

Reading TakeReading() {
    GeneralStuff::ReadTemperatures();
    const int status = ReadChip(Chip::Reg::Status.read);
    return {GeneralStuff::Temperature[0], GeneralStuff::Temperature[1], status};
}

std::string ReadingText(const Reading& reading) {
    return "local   " + DegreesText(reading.local) + "\nremote  " + DegreesText(reading.remote) + "\nalarms  " +
           NamesText(AlarmNames(reading.status)) + "\n";
}

std::string ReadingJson(const Reading& reading) {
    JsonObject json;
    return AddReading(json, reading).Text() + "\n";
}

std::string MonitorCsvLine(const std::string& time, double elapsedSeconds, const Reading& reading) {
    return time + "," + SecondsText(elapsedSeconds) + "," + GeneralStuff::TrimmedNumberText(reading.local) + "," +
           GeneralStuff::TrimmedNumberText(reading.remote) + "," + HexByte(reading.status) + "," +
           NamesText(AlarmNames(reading.status), "") + "\n";
}

std::string MonitorJsonLine(const std::string& time, double elapsedSeconds, const Reading& reading) {
    JsonObject json;
    json.String("time", time).Raw("elapsed_s", SecondsText(elapsedSeconds));
    return AddReading(json, reading).Text() + "\n";
}
