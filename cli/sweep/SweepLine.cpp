#include "cli/sweep/SweepLine.h"

#include "cli/monitor/MonitorLine.h"

#include <QString>

namespace {

// The monitor's line without its line end.
std::string Chopped(std::string line) {
    if (!line.empty() && line.back() == '\n') line.pop_back();
    return line;
}

std::string Fixed(double value) { return QString::number(value, 'f', 3).toStdString(); }

}  // namespace

std::string SweepCsvHeader() {
    return Chopped(MonitorCsvHeader(true)) + ",step,setpoint_C,chamber_C,reference_C,phase\n";
}

std::string SweepCsvLine(const std::string& time, double elapsedSeconds, const Reading& reading, const Limits& limits,
                         const SweepColumns& c) {
    return Chopped(MonitorCsvLine(time, elapsedSeconds, reading, &limits)) + "," + std::to_string(c.step) + "," +
           Fixed(c.setpoint) + "," + Fixed(c.chamber) + "," + Fixed(c.reference) + "," +
           (c.recording ? "recording" : "settling") + "\n";
}
